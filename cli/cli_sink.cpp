#include "cli/cli_sink.h"

#include <cstdio>

void PrintError(const std::string& text) {
    std::fprintf(stderr, "qelvarctl: %s\n", text.c_str());
}

namespace {

// A box's lines on one line of the terminal: "Can't file open: a.dat: Is a directory".
std::string OneLine(std::string text) {
    for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, ": ");
    return text;
}

}  // namespace

void CCliSink::ShowBox(BoxKind kind, const std::string& text) {
    switch (kind) {
        case BoxKind::kSetupError:
            setupErrors.push_back(text);
            break;
        case BoxKind::kReplyError:
            lastReplyError = text;
            break;
        case BoxKind::kWarning:
        case BoxKind::kNotice:
        case BoxKind::kQuestion:
            PrintError(OneLine(text));
            break;
        case BoxKind::kSuccess:
            break;
    }
}
