// For code tested without a port: the program's start-up state, and every line
// that would go on the wire, in order.
#pragma once

#include <string>
#include <vector>

#include "tests/support/switcher_answers.h"

class CWireCapture {
public:
    CWireCapture();
    ~CWireCapture();
    CWireCapture(const CWireCapture&) = delete;
    CWireCapture& operator=(const CWireCapture&) = delete;

    // From now on each line captured is answered as a virtual switcher would
    // (CSwitcherAnswers).
    void AnswerAsSwitcher() { m_bAnswering = true; }

    std::vector<std::string> lines;

private:
    CSwitcherAnswers m_answers;
    bool m_bAnswering = false;
};
