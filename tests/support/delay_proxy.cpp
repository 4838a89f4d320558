#include "tests/support/delay_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

struct CHeld {
    Clock::time_point due;
    std::string bytes;
};

sockaddr_in Loopback(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    return addr;
}

int ConnectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = Loopback(port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// One direction: what was read, held until due, then written.
struct CPipe {
    int from;
    int to;
    std::deque<CHeld> held;
    bool open = true;
};

int MsUntilNext(const CPipe& a, const CPipe& b) {
    Clock::time_point next = Clock::time_point::max();
    for (const CPipe* p : {&a, &b}) {
        if (!p->held.empty() && p->held.front().due < next) next = p->held.front().due;
    }
    if (next == Clock::time_point::max()) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

void Flush(CPipe& pipe) {
    while (!pipe.held.empty() && pipe.held.front().due <= Clock::now()) {
        const std::string& bytes = pipe.held.front().bytes;
        if (::send(pipe.to, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0) pipe.open = false;
        pipe.held.pop_front();
    }
}

}  // namespace

CDelayProxy::CDelayProxy(int targetPort, int delayMsEachWay)
    : m_nTarget(targetPort), m_nDelayMs(delayMsEachWay), m_stopFd(::eventfd(0, EFD_CLOEXEC)) {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr = Loopback(0);
    if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listen, 4) != 0) {
        throw std::runtime_error("the delaying proxy cannot listen");
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
    m_nPort = ntohs(addr.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CDelayProxy::~CDelayProxy() {
    ::eventfd_write(m_stopFd, 1);
    m_thread.join();
    ::close(m_listen);
    ::close(m_stopFd);
}

void CDelayProxy::Serve() {
    for (;;) {
        pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        ::poll(fds, 2, -1);
        if (fds[1].revents & POLLIN) return;
        const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        Relay(client);
        ::close(client);
    }
}

// Until either side closes (what is held for the other still goes out) or the proxy stops.
void CDelayProxy::Relay(int client) {
    const int target = ConnectTo(m_nTarget);
    if (target < 0) return;
    int one = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    CPipe up{client, target, {}};
    CPipe down{target, client, {}};
    const auto delay = std::chrono::milliseconds(m_nDelayMs);
    while ((up.open && down.open) || !up.held.empty() || !down.held.empty()) {
        pollfd fds[3] = {{client, static_cast<short>(up.open ? POLLIN : 0), 0},
                         {target, static_cast<short>(down.open ? POLLIN : 0), 0},
                         {m_stopFd, POLLIN, 0}};
        ::poll(fds, 3, MsUntilNext(up, down));
        if (fds[2].revents & POLLIN) break;
        for (CPipe* pipe : {&up, &down}) {
            const pollfd& fd = pipe == &up ? fds[0] : fds[1];
            if (!(fd.revents & (POLLIN | POLLHUP | POLLERR))) continue;
            char chunk[4096];
            const ssize_t n = ::recv(pipe->from, chunk, sizeof chunk, 0);
            if (n <= 0) {
                pipe->open = false;
                continue;
            }
            pipe->held.push_back(
                {Clock::now() + delay, std::string(chunk, static_cast<size_t>(n))});
        }
        Flush(up);
        Flush(down);
    }
    ::close(target);
}
