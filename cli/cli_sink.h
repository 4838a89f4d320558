// How the core's message boxes show in a terminal. Warnings print at once;
// set-up errors and error replies are kept for the command to report with its
// exit status; "Success" prints nothing.
#pragma once

#include <string>
#include <vector>

#include "sink/message_sink.h"

class CCliSink : public CMessageSink {
public:
    void ShowBox(BoxKind kind, const std::string& text) override;

    std::vector<std::string> setupErrors;
    std::string lastReplyError;
};

// Writes "qelvarctl: text" on stderr, each of its lines as VisibleText shows it.
void PrintError(const std::string& text);
