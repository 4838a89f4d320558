#include "protocol/replies.h"

#include <iterator>

namespace {

struct CErrorReplyFormat {
    std::string_view line;
    const char* text;
};

// In the order of ErrorReply.
constexpr CErrorReplyFormat kErrorReplies[] = {
    {"GN\r\n", "Mode Error"},   {"MENU\r\n", "Menu Display"}, {"E0\r\n", "Framing Error"},
    {"E1\r\n", "Parity Error"}, {"E2\r\n", "Over Run Error"}, {"E3\r\n", "Command Error"},
};

}  // namespace

std::string_view ErrorReplyLine(ErrorReply error) {
    return kErrorReplies[static_cast<int>(error)].line;
}

const char* ErrorReplyText(ErrorReply error) {
    return kErrorReplies[static_cast<int>(error)].text;
}

std::optional<ErrorReply> ErrorReplyOf(std::string_view work) {
    for (int i = 0; i < static_cast<int>(std::size(kErrorReplies)); ++i) {
        if (work == kErrorReplies[i].line) return static_cast<ErrorReply>(i);
    }
    return std::nullopt;
}

CReply ReadReply(std::string_view work) {
    if (work == kGoReply) return {ReplyKind::kGo, std::nullopt, std::nullopt};
    if (auto data = DataLineOf(work)) return {ReplyKind::kData, std::nullopt, data};
    if (auto error = ErrorReplyOf(work)) return {ReplyKind::kError, error, std::nullopt};
    return {};
}

ReplyKind ReplyKindOf(std::string_view work) {
    return ReadReply(work).kind;
}
