#include "link/port_reopener.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>

#include "link/receive_thread.h"
#include "link/serial_port.h"
#include "protocol/time_left.h"

namespace {

// A connection that lasted this long starts the server's pauses over.
constexpr auto kSteadyConnection = std::chrono::seconds(10);

void ConsumeWake(int wakeFd) {
    eventfd_t count;
    ::eventfd_read(wakeFd, &count);
}

}  // namespace

CPortReopener::CPortReopener(CLinkContext& link, const std::atomic<int>& run, bool waitFirst)
    : m_port(*link.Port()),
      m_wakeFd(link.WakeFd()),
      m_writer(link.Writer()),
      m_replies(link.Replies()),
      m_run(run),
      m_bWaitFirst(waitFirst),
      m_nDelayMs(Network() ? kServerRetryFirstMs : kDeviceRetryMs) {
    if (!m_port.DevicePath().empty()) m_pWatch = std::make_unique<CPortWatch>();
}

void CPortReopener::Lost(Clock::duration uptime, bool gotData) {
    Arm();  // before anyone hears of the loss, so that a quick return is not missed
    m_bWaitFirst = true;
    m_lastWhy = {};
    if (!Network()) return;
    // A server that drops each connection at once, before it has said
    // anything, is called back less and less often.
    const bool worked = gotData || uptime >= kSteadyConnection;
    m_nDelayMs = worked ? kServerRetryFirstMs : std::min(m_nDelayMs * 2, kServerRetryLastMs);
}

bool CPortReopener::Reopen() {
    const bool waited = m_bWaitFirst;
    if (m_bWaitFirst) {
        Arm();
        if (!Wait(m_nDelayMs)) return false;
    }
    m_bWaitFirst = true;
    Arm();  // before the attempt, so that a port that comes just after it is seen
    CLinkFailure why;
    if (TryOpen(why)) {
        m_writer.Attach();
        m_lastWhy = {};
        m_replies.PushEvent(CPortEvent::Connected(m_port.PollFd()));
        return true;
    }
    if (!m_run.load()) return false;
    if (why != m_lastWhy) m_replies.PushEvent(CPortEvent::Retrying(why));
    m_lastWhy = why;
    // A server's pauses: 1 s, 2 s, 4 s, 8 s, then 10 s.
    if (Network() && waited) m_nDelayMs = std::min(m_nDelayMs * 2, kServerRetryLastMs);
    return false;
}

void CPortReopener::Arm() {
    if (m_pWatch) m_pWatch->Watch(m_port.DevicePath());
}

// Sleeps until ms have passed, the device's folder changed, or a wake-up came.
// False when the thread is to stop.
bool CPortReopener::Wait(int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    const int watchFd = m_pWatch ? m_pWatch->Fd() : -1;
    while (m_run.load()) {
        int left = MsUntil(deadline, Clock::now());
        if (left <= 0) return true;
        if (m_wakeFd < 0) left = std::min(left, kPortRetryMs);
        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {watchFd, POLLIN, 0}};
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR) return m_run.load();
        if (fds[0].revents & POLLIN) ConsumeWake(m_wakeFd);
        if ((fds[1].revents & POLLIN) && m_pWatch->Consume()) return true;
    }
    return false;
}

bool CPortReopener::TryOpen(CLinkFailure& why) {
    COpenResult opened = m_port.Open();
    // The name service and then the server each get the whole time-out.
    auto deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    while (opened.bConnecting) {
        if (!WaitConnected(opened, deadline)) {
            m_port.Close();
            why = CLinkFailure::NoAnswer(m_port.Description(), kConnectTimeoutMs / 1000);
            if (opened.bLookingUp) why.kind = CLinkFailure::Kind::kNoLookupAnswer;
            return false;
        }
        const bool lookedUp = opened.bLookingUp;
        opened = m_port.FinishOpen();
        if (lookedUp && !opened.bLookingUp) {
            deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
        }
    }
    if (!opened.bOpen) {
        m_port.Close();
        why = opened.failure;
        return false;
    }
    if (!Network() && !SetUpPort(m_port).Ok()) {
        m_port.Close();
        why = CLinkFailure::Of(CLinkFailure::Kind::kNotSerial, m_port.DevicePath());
        return false;
    }
    return true;
}

// Sleeps until the open's descriptor polls as it waits for (true), or the
// deadline passed or the thread is to stop (false). Without a descriptor it
// says true now and then, to have the open looked at again.
bool CPortReopener::WaitConnected(const COpenResult& opened, Clock::time_point deadline) {
    while (m_run.load()) {
        int left = MsUntil(deadline, Clock::now());
        if (left <= 0) return false;
        const bool blind = opened.nWaitFd < 0;
        if (m_wakeFd < 0 || blind) left = std::min(left, kPortRetryMs);
        pollfd fds[2] = {{opened.nWaitFd, opened.nWaitEvents, 0}, {m_wakeFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) return false;
        if (fds[1].revents & POLLIN) ConsumeWake(m_wakeFd);
        if (fds[0].revents || (blind && ready == 0)) return true;
    }
    return false;
}
