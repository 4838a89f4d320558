#include "cli/cli_sink.h"

#include <cstdio>

void PrintError(const std::string& text) {
    std::fprintf(stderr, "qelvarctl: %s\n", text.c_str());
}

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
            PrintError(text);
            break;
        case BoxKind::kSuccess:
            break;
    }
}
