#include "tests/support/stand_in.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <deque>

namespace {

using Clock = std::chrono::steady_clock;

struct CDue {
    Clock::time_point at;
    std::string text;
};

int MsUntil(Clock::time_point at) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(at - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

CStandIn::CStandIn(Responder responder)
    : m_responder(std::move(responder)), m_stopFd(::eventfd(0, EFD_CLOEXEC)) {
    m_thread = std::thread([this] { Serve(); });
}

CStandIn::~CStandIn() {
    ::eventfd_write(m_stopFd, 1);
    m_thread.join();
    ::close(m_stopFd);
}

std::vector<std::string> CStandIn::Lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
}

void CStandIn::Serve() {
    std::deque<CDue> due;
    std::string partial;
    int index = 0;
    for (;;) {
        pollfd fds[2] = {{m_pty.Master(), POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int timeout = due.empty() ? -1 : MsUntil(due.front().at);
        ::poll(fds, 2, timeout);
        if (fds[1].revents & POLLIN) return;
        while (!due.empty() && Clock::now() >= due.front().at) {
            m_pty.Write(due.front().text);
            due.pop_front();
        }
        if (!(fds[0].revents & POLLIN)) {
            // No program on the other side yet (or any more): the master hangs up.
            if (fds[0].revents & (POLLHUP | POLLERR)) ::usleep(10000);
            continue;
        }
        char chunk[512];
        const ssize_t n = ::read(m_pty.Master(), chunk, sizeof chunk);
        if (n <= 0) continue;
        for (ssize_t i = 0; i < n; ++i) {
            partial += chunk[i];
            if (chunk[i] != '\n') continue;
            {
                std::lock_guard lock(m_mutex);
                m_lines.push_back(partial);
            }
            if (auto reply = m_responder(partial, index)) {
                auto at = Clock::now() + std::chrono::milliseconds(reply->nDelayMs);
                if (!due.empty() && due.back().at > at) at = due.back().at;
                due.push_back({at, reply->text});
            }
            partial.clear();
            ++index;
        }
    }
}

CStandIn::Responder EchoEachLine() {
    return [](const std::string& line, int) { return CStandIn::CReply{line, 0}; };
}

CStandIn::Responder AnswerEachLine(const std::string& text) {
    return [text](const std::string&, int) { return CStandIn::CReply{text + "\r\n", 0}; };
}
