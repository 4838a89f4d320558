#include "link/receive_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "link/link_context.h"
#include "sink/message_sink.h"
#include "protocol/line_assembler.h"

std::atomic<int> g_bReadThreadRun{0};
std::thread g_hReadThread;

namespace {

// Waits for a wake-up, at most timeoutMs (-1 = for ever), and consumes it.
void WaitForWake(int wakeFd, int timeoutMs) {
    if (wakeFd < 0) {  // nothing to wake us: look at the run flag now and then
        int ms = (timeoutMs < 0 || timeoutMs > kPortRetryMs) ? kPortRetryMs : timeoutMs;
        ::usleep(static_cast<useconds_t>(ms) * 1000);
        return;
    }
    pollfd pfd{wakeFd, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) > 0) {
        eventfd_t count;
        ::eventfd_read(wakeFd, &count);
    }
}

// The I/O thread's side of the link. The port and the wake event stay as they
// are while the thread runs.
class CPortService {
public:
    explicit CPortService(CLinkContext& link)
        : m_port(*link.Port()),
          m_wakeFd(link.WakeFd()),
          m_writer(link.Writer()),
          m_replies(link.Replies()) {}

    // One round of the loop on an open port. False when the port failed.
    bool Serve() {
        short events = POLLIN | (m_writer.HasPending() ? POLLOUT : 0);
        pollfd fds[2] = {{m_port.PollFd(), events, 0}, {m_wakeFd, POLLIN, 0}};
        int timeoutMs = m_writer.MsUntilTimeout(m_port);
        if (m_wakeFd < 0 && (timeoutMs < 0 || timeoutMs > kPortRetryMs)) {
            timeoutMs = kPortRetryMs;  // nothing can wake us: look at the run flag now and then
        }
        int ready = ::poll(fds, m_wakeFd >= 0 ? 2 : 1, timeoutMs);
        if (ready < 0) return errno == EINTR;
        if (fds[1].revents & POLLIN) {
            eventfd_t count;
            ::eventfd_read(m_wakeFd, &count);
        }
        short got = fds[0].revents;
        if ((got & POLLIN) && !ReadChunk()) return false;
        if (!(got & POLLIN) && (got & (POLLERR | POLLHUP | POLLNVAL))) return false;
        if (got & POLLOUT) m_writer.Flush(m_port);
        m_writer.DiscardTimedOut(m_port);
        return true;
    }

private:
    // Reads what is queued and passes finished lines on. False when the port
    // hung up or failed.
    bool ReadChunk() {
        char chunk[400];
        CIoResult got = m_port.Read(chunk);
        if (got.status == IoStatus::kNothing) return true;
        if (got.status != IoStatus::kDone) return false;
        m_assembler.Feed(std::string_view(chunk, got.nBytes),
                         [this](std::string line) { m_replies.Push(std::move(line)); });
        return true;
    }

    ITransport& m_port;
    const int m_wakeFd;
    CPortWriter& m_writer;
    CReplyQueue& m_replies;
    CLineAssembler m_assembler;
};

void ReadThreadProc() {
    CLinkContext& link = Link();
    ITransport* port = link.Port();
    const int wakeFd = link.WakeFd();
    if (!port || !port->IsOpen()) {
        while (g_bReadThreadRun.load()) WaitForWake(wakeFd, -1);  // no usable port
        return;
    }
    CPortService service(link);
    while (g_bReadThreadRun.load()) {
        if (!service.Serve()) WaitForWake(wakeFd, kPortRetryMs);  // retried at a calm pace
    }
    port->Discard(Queue::kInput);
}

}  // namespace

void StartReadThread() {
    g_bReadThreadRun = 1;
    try {
        g_hReadThread = std::thread(ReadThreadProc);
    } catch (const std::system_error&) {
        g_bReadThreadRun = 0;
        ShowSetupError("error creating read thread");
    }
}

void StopReadThread() {
    g_bReadThreadRun = 0;
    Link().WakeIoThread();
    if (g_hReadThread.joinable()) g_hReadThread.join();
}
