#include "link/reply_interpreter.h"

#include <algorithm>

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "link/message_sink.h"
#include "link/readback_decoders.h"
#include "model/settings_model.h"

namespace {

struct DataTag {
    std::string_view tag;
    bool (*decode)(std::string_view);
};

// "OTP" comes before "OT" so a memory-number line is not taken for an output line.
constexpr DataTag kDataTags[] = {
    {"AST", DecodeSeqTimes},        {"CA", DecodeTitle},         {"CPI", DecodeTitlePositions},
    {"CTI", DecodeInTitleDisp},     {"CTO", DecodeOutTitleDisp}, {"OTP", DecodeCurMemory},
    {"OT", DecodeOutputs},          {"TP", DecodePattern},       {"TSI", DecodeInCalendarDisp},
    {"TSO", DecodeOutCalendarDisp}, {"TSD", DecodeDateFormat},
};

struct ErrorReply {
    std::string_view reply;
    const char* message;
};

constexpr ErrorReply kErrorReplies[] = {
    {"GN\r\n", "Mode Error"},   {"MENU\r\n", "Menu Display"}, {"E0\r\n", "Framing Error"},
    {"E1\r\n", "Parity Error"}, {"E2\r\n", "Over Run Error"}, {"E3\r\n", "Command Error"},
};

std::string_view WorkLine(std::string_view line) {
    if (g_bRs485) line.remove_prefix(std::min<size_t>(2, line.size()));  // the address echo
    return line;
}

const DataTag* FindDataTag(std::string_view work) {
    for (const auto& data : kDataTags) {
        if (work.starts_with(data.tag)) return &data;
    }
    return nullptr;
}

const ErrorReply* FindErrorReply(std::string_view work) {
    for (const auto& error : kErrorReplies) {
        if (work == error.reply) return &error;
    }
    return nullptr;
}

}  // namespace

ReplyKind ClassifyReply(std::string_view line) {
    std::string_view work = WorkLine(line);
    if (work == "GO\r\n") return ReplyKind::kGo;
    if (FindDataTag(work)) return ReplyKind::kData;
    return FindErrorReply(work) ? ReplyKind::kError : ReplyKind::kOther;
}

void InterpretReply(std::string_view line) {
    g_nNoReplyTicks = 0;
    g_bAwaitingReply = 0;
    std::string_view work = WorkLine(line);
    g_bErrorReply = 0;

    if (work == "GO\r\n") {
        if (g_nSendStep == 0) ShowSuccess();
        return;
    }
    if (const DataTag* data = FindDataTag(work)) {
        data->decode(work);
        return;
    }
    if (const ErrorReply* error = FindErrorReply(work)) {
        g_bErrorReply = 1;
        ShowReplyError(error->message);
        return;
    }
    // Anything else is dropped without a word; it still counted as a reply.
}
