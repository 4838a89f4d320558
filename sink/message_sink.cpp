#include "sink/message_sink.h"

#include <cstdio>

namespace {

CStderrSink g_stderrSink;
CMessageSink* g_pSink = &g_stderrSink;

}  // namespace

bool CMessageSink::AskYesNo(const std::string& text) {
    ShowBox(BoxKind::kQuestion, text);
    return false;
}

bool CMessageSink::AskGoOn(const std::string& text, const std::string&, const std::string&) {
    return AskYesNo(text);
}

void CStderrSink::ShowBox(BoxKind kind, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", BoxCaption(kind), text.c_str());
}

void SetMessageSink(CMessageSink* sink) {
    g_pSink = sink ? sink : &g_stderrSink;
}

const char* BoxCaption(BoxKind kind) {
    switch (kind) {
        case BoxKind::kSuccess:
            return "設定完了";
        case BoxKind::kQuestion:
        case BoxKind::kNotice:
            return "Qelvar";
        default:
            return "Error";
    }
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
void ShowNotice(const std::string& text) {
    g_pSink->ShowBox(BoxKind::kNotice, text);
}
bool AskQuestion(const std::string& text) {
    return g_pSink->AskYesNo(text);
}
bool AskGoOn(const std::string& text, const std::string& goOn, const std::string& cancel) {
    return g_pSink->AskGoOn(text, goOn, cancel);
}
