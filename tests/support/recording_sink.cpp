#include "tests/support/recording_sink.h"

#include <ostream>

CRecordingSink::CRecordingSink() {
    SetMessageSink(this);
}
CRecordingSink::~CRecordingSink() {
    SetMessageSink(nullptr);
}

void CRecordingSink::ShowBox(BoxKind kind, const std::string& text) {
    boxes.push_back({kind, text});
    if (whileOpen) whileOpen(boxes.back());
}

bool CRecordingSink::AskYesNo(const std::string& text) {
    ShowBox(BoxKind::kQuestion, text);
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

void PrintTo(const RecordedBox& box, std::ostream* os) {
    const char* kinds[] = {"SetupError", "Warning", "ReplyError", "Success", "Question", "Notice"};
    *os << kinds[static_cast<int>(box.kind)] << "(\"" << box.text << "\")";
}
