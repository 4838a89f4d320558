// The one way the control server's lines reach the switcher: one line at a
// time, each sent only once the switcher is free (no other line awaited, no
// run, no search of the bus) and once the line before it has been answered,
// so that several panels pressing at once never put two lines in flight.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>

struct CGateAnswer {
    bool bAnswered = false;  // false: the reply time passed, the port was lost or down
    std::string strLine;     // the answer without its address, its line end kept
};

// Builds the line (CR LF included) when it goes out, from the state then;
// an empty line sends nothing and the job ends unanswered.
using GateLine = std::function<std::string()>;
using GateDone = std::function<void(const CGateAnswer&)>;

class CSwitcherGate {
public:
    void Queue(int nAddress, GateLine line, GateDone done);
    // Settles the line in flight and sends the next one the switcher is free
    // for; every job ends unanswered at once while the link is down, so
    // nothing waits for later without an answer.
    void Service();
    // Milliseconds until Service() is due without an event; -1 for never.
    int TimeoutMs() const;
    bool Idle() const { return m_jobs.empty() && !m_inFlight; }

private:
    struct CJob {
        int nAddress = -1;
        GateLine line;
        GateDone done;
    };
    bool Settle();
    void SendNext();

    std::deque<CJob> m_jobs;
    std::optional<CJob> m_inFlight;
    unsigned long m_nId = 0;
    std::chrono::steady_clock::time_point m_sentAt{};
};

// Whether the link is up and nothing else talks to the switcher just now.
bool SwitcherFree();
bool LinkUp();
