// A message sink that records every box instead of showing it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sink/message_sink.h"

struct RecordedBox {
    BoxKind kind;
    std::string text;
    bool operator==(const RecordedBox&) const = default;
};

class CRecordingSink : public CMessageSink {
public:
    // Installs itself for the lifetime of the object.
    CRecordingSink();
    ~CRecordingSink() override;

    void ShowBox(BoxKind kind, const std::string& text) override;
    // Records the question and gives the next of answers (No when they run out).
    bool AskYesNo(const std::string& text) override;

    std::vector<RecordedBox> boxes;
    // Called while a box is "open", to act as the user would meanwhile.
    std::function<void(const RecordedBox&)> whileOpen;
    std::vector<bool> answers;
};

// Pretty-printing for assertion messages.
void PrintTo(const RecordedBox& box, std::ostream* os);
