// Answers for code tested without a port: each line the program sends is
// answered as a virtual switcher of the model and interface in force answers
// it, through the reply queue, so that the
// program takes the answers in when it next dispatches.
#pragma once

#include <memory>
#include <string_view>

class CVirtualSwitcher;

class CSwitcherAnswers {
public:
    CSwitcherAnswers();
    ~CSwitcherAnswers();
    CSwitcherAnswers(const CSwitcherAnswers&) = delete;
    CSwitcherAnswers& operator=(const CSwitcherAnswers&) = delete;

    // Queues the switcher's answer to the line, if it gives one.
    void Answer(std::string_view line);

private:
    std::unique_ptr<CVirtualSwitcher> m_pSwitcher;
};
