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

void PrintTo(const RecordedBox& box, std::ostream* os) {
    const char* kinds[] = {"SetupError", "Warning", "ReplyError", "Success"};
    *os << kinds[static_cast<int>(box.kind)] << "(\"" << box.text << "\")";
}
