// How the core's message boxes show in a terminal. Warnings print at once.
// Set-up errors, error replies and "Success" print nothing: each command says
// what went wrong from the values the core returns (the port's set-up, the
// answer kept as Link().LastFault(), how a run ended), with its exit status.
#pragma once

#include <string>

#include "sink/message_sink.h"

class CCliSink : public CMessageSink {
public:
    void ShowBox(BoxKind kind, const std::string& text) override;
};

// Writes "qelvarctl: text" on stderr, each of its lines as VisibleText shows it.
void PrintError(const std::string& text);
