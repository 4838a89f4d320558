#include "link/receive_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <system_error>

#include "link/link_context.h"
#include "link/port_reopener.h"
#include "link/port_service.h"

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

// Serves the port while it is up; when it fails, closes it, tells the owner
// and brings it back.
class CIoLoop {
public:
    explicit CIoLoop(CLinkContext& link)
        : m_port(*link.Port()),
          m_writer(link.Writer()),
          m_replies(link.Replies()),
          m_service(link),
          // A device whose first open failed was just tried; a server not yet.
          m_reopener(link, g_bReadThreadRun, !m_port.OpensInBackground()) {}

    void Run() {
        bool up = m_port.IsOpen();
        if (!up) m_writer.Detach();
        auto since = Clock::now();
        while (g_bReadThreadRun.load()) {
            if (!up) {
                up = m_reopener.Reopen();
                if (up) {
                    m_service.Restart();
                    since = Clock::now();
                }
                continue;
            }
            if (auto failed = m_service.Serve()) {
                m_writer.Detach();  // from now on nothing but this thread touches the port
                m_port.Close();
                m_reopener.Lost(Clock::now() - since, m_service.GotData());
                m_replies.PushEvent(CPortEvent::Lost(*failed));
                up = false;
            }
        }
        if (up) m_port.Discard(Queue::kInput);
    }

private:
    using Clock = std::chrono::steady_clock;

    ITransport& m_port;
    CPortWriter& m_writer;
    CReplyQueue& m_replies;
    CPortService m_service;
    CPortReopener m_reopener;
};

void ReadThreadProc() {
    CLinkContext& link = Link();
    ITransport* port = link.Port();
    const bool reopenable =
        port && (port->IsOpen() || port->OpensInBackground() || !port->DevicePath().empty());
    if (!reopenable) {
        while (g_bReadThreadRun.load()) WaitForWake(link.WakeFd(), -1);  // no usable port
        return;
    }
    CIoLoop(link).Run();
}

}  // namespace

bool StartReadThread() {
    g_bReadThreadRun = 1;
    try {
        g_hReadThread = std::thread(ReadThreadProc);
    } catch (const std::system_error&) {
        g_bReadThreadRun = 0;
        return false;
    }
    return true;
}

void StopReadThread() {
    g_bReadThreadRun = 0;
    Link().WakeIoThread();
    if (g_hReadThread.joinable()) g_hReadThread.join();
}
