#include "cli/cli_sink.h"

#include <cstdio>

#include "protocol/visible_text.h"

// The program's own line breaks stay; whatever a message quotes (a reply, a
// profile value, a file name) reaches the terminal with its controls shown.
void PrintError(const std::string& text) {
    std::string shown;
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        shown += VisibleText(std::string_view(text).substr(begin, end - begin)) + "\n";
    }
    shown += VisibleText(std::string_view(text).substr(begin));
    std::fprintf(stderr, "qelvarctl: %s\n", shown.c_str());
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
        case BoxKind::kWarning:
        case BoxKind::kNotice:
        case BoxKind::kQuestion:
            PrintError(OneLine(text));
            break;
        case BoxKind::kSetupError:
        case BoxKind::kReplyError:
        case BoxKind::kSuccess:
            break;
    }
}
