// How a send cycle ended, as a value its dialog or the command-line tool can
// say in its own words: run to its end, stopped by an answer, by the switcher
// falling silent or the port going, or by its user; which step that was, and
// which items were refused on the way.
#pragma once

#include <string>
#include <vector>

enum class RunEnd {
    kDone,        // every step performed and the last line answered
    kErrorReply,  // an error reply, or a set command's answer that is none
    kNoConnect,   // the switcher stopped answering: "No Connect"
    kPortLost,
    kStopped,  // its user stopped it, or its dialog was closed
};

struct CRunOutcome {
    RunEnd end = RunEnd::kDone;
    int nSteps = 0;     // the steps of the run
    int nLastStep = 0;  // the last step performed; 0 when none was
    // For kErrorReply: the step whose line the answer answered (under the
    // timer the lines run ahead of their replies, so it may be before the
    // last step); 0 when the answer was to a line sent before the run.
    int nFaultStep = 0;
    std::string strReply;      // the box the answer raised ("Command Error"); empty if unknown
    bool bErrorReply = false;  // the answer was one of the six error replies
    std::vector<int> refused;  // the steps whose items were refused, in order

    bool Done() const { return end == RunEnd::kDone; }
    // Steps whose line went out.
    int Sent() const { return nLastStep - static_cast<int>(refused.size()); }
};
