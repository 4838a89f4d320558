// A stand-in for the switcher on the far side of a pseudo-terminal, for tests
// of how the program treats replies that are no answers: it reads each line the
// program sends and answers what the test's responder says, after the delay
// it says, in the order the lines came (a serial device answers one line after
// the other).
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/pty_pair.h"

class CStandIn {
public:
    struct CReply {
        std::string text;  // written as it is: CR LF and any address included
        int nDelayMs = 0;  // after the line came (or after the reply before, if later)
    };
    // The reply to the index-th line (0-based) as received, LF included; nothing for silence.
    using Responder = std::function<std::optional<CReply>(const std::string& line, int index)>;

    explicit CStandIn(Responder responder);
    ~CStandIn();
    CStandIn(const CStandIn&) = delete;
    CStandIn& operator=(const CStandIn&) = delete;

    const std::string& Port() const { return m_pty.SlavePath(); }
    // Every line received so far.
    std::vector<std::string> Lines() const;

private:
    void Serve();

    CPtyPair m_pty;
    Responder m_responder;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    int m_stopFd = -1;
    std::thread m_thread;
};

// Each line sent back as it came: a loop-back plug.
CStandIn::Responder EchoEachLine();
// Every line answered with text (CR LF added), at once.
CStandIn::Responder AnswerEachLine(const std::string& text);
