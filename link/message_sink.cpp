#include "link/message_sink.h"

#include <cstdio>

namespace {

CStderrSink g_stderrSink;
CMessageSink* g_pSink = &g_stderrSink;

}  // namespace

void CStderrSink::ShowBox(BoxKind kind, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", BoxCaption(kind), text.c_str());
}

void SetMessageSink(CMessageSink* sink) {
    g_pSink = sink ? sink : &g_stderrSink;
}

const char* BoxCaption(BoxKind kind) {
    return kind == BoxKind::kSuccess ? "設定完了" : "Error";
}

void ShowSetupError(const std::string& text) {
    g_pSink->ShowBox(BoxKind::kSetupError, text);
}
void ShowWarning(const std::string& text) {
    g_pSink->ShowBox(BoxKind::kWarning, text);
}
void ShowReplyError(const std::string& text) {
    g_pSink->ShowBox(BoxKind::kReplyError, text);
}
void ShowSuccess() {
    g_pSink->ShowBox(BoxKind::kSuccess, "Success");
}
