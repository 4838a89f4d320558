#include "link/port_service.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cerrno>

#include "link/receive_thread.h"

CPortService::CPortService(CLinkContext& link)
    : m_port(*link.Port()),
      m_wakeFd(link.WakeFd()),
      m_writer(link.Writer()),
      m_replies(link.Replies()) {}

std::optional<CLinkFailure> CPortService::Serve() {
    const bool writing = m_writer.HasPending() || m_port.HoldsOutput();
    const short events = POLLIN | (writing ? POLLOUT : 0);
    pollfd fds[2] = {{m_port.PollFd(), events, 0}, {m_wakeFd, POLLIN, 0}};
    int timeoutMs = m_writer.MsUntilTimeout(m_port);
    if (m_wakeFd < 0 && (timeoutMs < 0 || timeoutMs > kPortRetryMs)) {
        timeoutMs = kPortRetryMs;  // nothing can wake us: look at the run flag now and then
    }
    const int ready = ::poll(fds, m_wakeFd >= 0 ? 2 : 1, timeoutMs);
    if (ready < 0) {
        if (errno == EINTR) return std::nullopt;
        return CLinkFailure::System(errno);
    }
    if (fds[1].revents & POLLIN) {
        eventfd_t count;
        ::eventfd_read(m_wakeFd, &count);
    }
    const short got = fds[0].revents;
    if (got & (POLLIN | POLLERR | POLLHUP | POLLNVAL)) {
        if (auto failed = ReadChunk(got)) return failed;
    }
    if (got & POLLOUT) m_writer.Flush(m_port);
    if (m_writer.DiscardTimedOut(m_port)) {
        m_replies.PushEvent(CPortEvent::Stalled(m_port.ModemLines().value_or(-1)));
    }
    if (m_writer.TakeResumed()) m_replies.PushEvent(CPortEvent::Resumed());
    return std::nullopt;
}

// Reads what is queued and passes finished lines on.
std::optional<CLinkFailure> CPortService::ReadChunk(short events) {
    char chunk[400];
    const CIoResult got = m_port.Read(chunk);
    switch (got.status) {
        case IoStatus::kDone:
            m_bGotData = true;
            m_assembler.Feed(std::string_view(chunk, got.nBytes),
                             [this](std::string line) { m_replies.Push(std::move(line)); });
            return std::nullopt;
        case IoStatus::kNothing:
            // A hang-up or error the read does not report would wake poll for ever.
            if (events & (POLLERR | POLLHUP | POLLNVAL)) return m_port.HangUp();
            return std::nullopt;
        case IoStatus::kHungUp:
        case IoStatus::kFailed:
            break;
    }
    return Reason(got);
}

CLinkFailure CPortService::Reason(const CIoResult& result) const {
    return result.nError != 0 ? CLinkFailure::System(result.nError) : m_port.HangUp();
}
