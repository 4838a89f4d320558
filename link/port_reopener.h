// The I/O thread's way back to a lost port: waits calmly (a device's folder
// watched, about a second between tries; a server's pause doubling up to
// about ten seconds), then opens the same name again with the same settings.
// Nothing polls while it waits: the thread sleeps in poll() on the wake event
// and the folder watch.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "link/link_context.h"
#include "link/port_watch.h"

class CPortReopener {
public:
    using Clock = std::chrono::steady_clock;

    // waitFirst: the first attempt waits too (a device that just failed to open).
    CPortReopener(CLinkContext& link, const std::atomic<int>& run, bool waitFirst);

    // Waits when due, then tries once. True when the port is open and attached
    // to the writer again (the owner is told); false after a failed attempt
    // (told once for each new reason) or when the thread is to stop.
    bool Reopen();
    // The port was lost after being up for `uptime`; gotData: the server had
    // sent something on it. Called before the owner is told.
    void Lost(Clock::duration uptime, bool gotData);

private:
    bool Network() const { return m_port.OpensInBackground(); }
    void Arm();
    bool Wait(int ms);
    bool TryOpen(CLinkFailure& why);
    bool WaitConnected(const COpenResult& opened, Clock::time_point deadline);

    ITransport& m_port;
    const int m_wakeFd;
    CPortWriter& m_writer;
    CReplyQueue& m_replies;
    const std::atomic<int>& m_run;
    std::unique_ptr<CPortWatch> m_pWatch;  // devices only
    bool m_bWaitFirst;
    int m_nDelayMs;
    CLinkFailure m_lastWhy;
};
