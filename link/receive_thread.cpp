#include "link/receive_thread.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "link/message_sink.h"
#include "link/reply_queue.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "protocol/line_assembler.h"

std::atomic<int> g_bReadThreadRun{0};
std::thread g_hReadThread;

namespace {

// Waits for a wake-up, at most timeoutMs (-1 = for ever), and consumes it.
void WaitForWake(int timeoutMs) {
    if (g_hWakeEvent < 0) {  // nothing to wake us: look at the run flag now and then
        int ms = (timeoutMs < 0 || timeoutMs > kPortRetryMs) ? kPortRetryMs : timeoutMs;
        ::usleep(static_cast<useconds_t>(ms) * 1000);
        return;
    }
    pollfd pfd{g_hWakeEvent, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) > 0) {
        eventfd_t count;
        ::eventfd_read(g_hWakeEvent, &count);
    }
}

// Reads what is queued and passes finished lines on. False when the port failed.
bool ReadChunk(CLineAssembler& assembler) {
    char chunk[400];
    ssize_t n = ::read(g_hComm, chunk, sizeof chunk);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) return false;  // error, or hang-up on a terminal
    assembler.Feed(std::string_view(chunk, static_cast<size_t>(n)),
                   [](std::string line) { ReplyQueue().Push(std::move(line)); });
    return true;
}

// One round of the loop on an open port. False when the port failed.
bool ServePort(CLineAssembler& assembler) {
    CPortWriter& writer = PortWriter();
    short events = POLLIN | (writer.HasPending() ? POLLOUT : 0);
    pollfd fds[2] = {{g_hComm, events, 0}, {g_hWakeEvent, POLLIN, 0}};
    int timeoutMs = writer.MsUntilTimeout(g_hComm);
    if (g_hWakeEvent < 0 && (timeoutMs < 0 || timeoutMs > kPortRetryMs)) {
        timeoutMs = kPortRetryMs;  // nothing can wake us: look at the run flag now and then
    }
    int ready = ::poll(fds, g_hWakeEvent >= 0 ? 2 : 1, timeoutMs);
    if (ready < 0) return errno == EINTR;
    if (fds[1].revents & POLLIN) {
        eventfd_t count;
        ::eventfd_read(g_hWakeEvent, &count);
    }
    short got = fds[0].revents;
    if ((got & POLLIN) && !ReadChunk(assembler)) return false;
    if (!(got & POLLIN) && (got & (POLLERR | POLLHUP | POLLNVAL))) return false;
    if (got & POLLOUT) writer.Flush(g_hComm);
    writer.DiscardTimedOut(g_hComm);
    return true;
}

void ReadThreadProc() {
    CLineAssembler assembler;
    while (g_bReadThreadRun.load()) {
        if (g_hComm < 0) {
            WaitForWake(-1);  // no usable port: sleep until stopped
        } else if (!ServePort(assembler)) {
            WaitForWake(kPortRetryMs);  // a failing port is retried at a calm pace
        }
    }
    if (g_hComm >= 0) ::tcflush(g_hComm, TCIFLUSH);
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
    if (g_hWakeEvent >= 0) ::eventfd_write(g_hWakeEvent, 1);
    if (g_hReadThread.joinable()) g_hReadThread.join();
}
