#include "server/control_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "videohub/status_blocks.h"

namespace {

constexpr int kListenBacklog = 16;

int OpenListener(const std::string& address, int port, std::string& error) {
    sockaddr_in6 where{};
    where.sin6_family = AF_INET6;
    where.sin6_port = htons(static_cast<uint16_t>(port));
    where.sin6_addr = in6addr_any;
    if (!address.empty()) {
        in_addr v4{};
        if (::inet_pton(AF_INET, address.c_str(), &v4) == 1) {
            // An IPv4 address as the IPv6 socket sees it: ::ffff:a.b.c.d.
            where.sin6_addr.s6_addr[10] = 0xFF;
            where.sin6_addr.s6_addr[11] = 0xFF;
            std::memcpy(&where.sin6_addr.s6_addr[12], &v4, 4);
        } else if (::inet_pton(AF_INET6, address.c_str(), &where.sin6_addr) != 1) {
            error = "not an address to listen on: " + address;
            return -1;
        }
    }
    const int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("cannot make a socket: ") + std::strerror(errno);
        return -1;
    }
    const int on = 1;
    const int off = 0;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(fd, kListenBacklog) != 0) {
        error = "cannot listen on port " + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

CControlServer::~CControlServer() {
    m_clients.clear();
    for (int fd : m_listeners) {
        if (fd >= 0) ::close(fd);
    }
    if (m_epoll >= 0) ::close(m_epoll);
}

bool CControlServer::Listen(std::string& error) {
    if (m_epoll < 0) {
        error = std::string("cannot watch sockets: ") + std::strerror(errno);
        return false;
    }
    for (size_t u = 0; u < m_units.size(); ++u) {
        if (!ListenOn(u, error)) return false;
    }
    return true;
}

bool CControlServer::ListenOn(size_t nUnit, std::string& error) {
    const int fd = OpenListener(m_settings.strListen, m_units[nUnit].nPort, error);
    if (fd < 0) return false;
    m_listeners[nUnit] = fd;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
    return true;
}

void CControlServer::Accept(int listener, size_t nUnit) {
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        size_t clients = 0;
        for (const auto& [_, client] : m_clients) clients += client.nUnit == nUnit ? 1 : 0;
        if (clients >= static_cast<size_t>(m_settings.nMaxClients)) {
            ::close(fd);  // the port is full: refused, the others unaffected
            continue;
        }
        // ACK and the update that follows it go out at once, not behind Nagle.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const unsigned long id = m_nNextClient++;
        m_clients[fd] = {std::make_unique<CClientConnection>(fd, id), nUnit};
        m_clientFds[id] = fd;
        epoll_event event{};
        event.events = EPOLLIN | EPOLLRDHUP;
        event.data.fd = fd;
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event);
        SendTo(fd,
               OpeningDump(m_units[nUnit], m_announced[nUnit].bPresent, m_identities[nUnit], id));
    }
}

void CControlServer::OnClientEvent(int fd, unsigned events) {
    auto found = m_clients.find(fd);
    if (found == m_clients.end()) return;
    CClientConnection& connection = *found->second.connection;
    if ((events & EPOLLOUT) && !connection.Flush()) return Drop(fd);
    if (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) {
        std::vector<CVideohubBlock> blocks;
        const bool bOpen = connection.ReadBlocks(blocks);
        for (const CVideohubBlock& block : blocks) {
            if (!m_clients.count(fd)) return;  // dropped while answering
            OnBlock(fd, block);
        }
        if (!bOpen) return Drop(fd);
    }
    if (m_clients.count(fd)) WatchWrites(m_clients[fd]);
}

void CControlServer::Drop(int fd) {
    auto found = m_clients.find(fd);
    if (found == m_clients.end()) return;
    const unsigned long id = found->second.connection->Id();
    CServedUnit& unit = m_units[found->second.nUnit];
    for (unsigned long& owner : unit.lockOwner) {
        if (owner == id) owner = kLockedByNobody;  // the lock outlives its connection
    }
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
    m_clientFds.erase(id);
    m_clients.erase(found);
    // Its requests still queued go out all the same; their answers find nobody.
}

void CControlServer::SendTo(int fd, const std::string& bytes) {
    auto found = m_clients.find(fd);
    if (found == m_clients.end()) return;
    if (!found->second.connection->Send(bytes)) return Drop(fd);  // it does not read: dropped
    WatchWrites(found->second);
}

void CControlServer::SendToUnit(size_t nUnit, const std::string& bytes) {
    std::vector<int> fds;
    for (const auto& [fd, client] : m_clients) {
        if (client.nUnit == nUnit) fds.push_back(fd);
    }
    for (int fd : fds) SendTo(fd, bytes);
}

void CControlServer::WatchWrites(const CClient& client) {
    epoll_event event{};
    event.events = EPOLLIN | EPOLLRDHUP;
    if (client.connection->WantsWrite()) event.events |= EPOLLOUT;
    event.data.fd = client.connection->Fd();
    ::epoll_ctl(m_epoll, EPOLL_CTL_MOD, event.data.fd, &event);
}

void CControlServer::NetworkEvents() {
    epoll_event events[32];
    const int n = ::epoll_wait(m_epoll, events, 32, 0);
    for (int i = 0; i < n; ++i) {
        const int fd = events[i].data.fd;
        bool bListener = false;
        for (size_t u = 0; u < m_listeners.size(); ++u) {
            if (m_listeners[u] == fd) {
                Accept(fd, u);
                bListener = true;
            }
        }
        if (!bListener) OnClientEvent(fd, events[i].events);
    }
}

void CControlServer::Service() {
    NetworkEvents();
    m_gate.Service();
    RetryReadBacks();
    Refresh();
}

int CControlServer::TimeoutMs() const {
    int timeout = m_gate.TimeoutMs();
    const auto now = std::chrono::steady_clock::now();
    // While the link is down its return wakes the loop through the reply queue.
    if (!LinkUp()) return timeout;
    for (size_t u = 0; u < m_units.size(); ++u) {
        if (m_units[u].bLoaded || m_readBackRunning[u] || !m_settings.bReadBack) continue;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_readBackDue[u] - now).count();
        const int ms = left < 0 ? 0 : static_cast<int>(left);
        if (timeout < 0 || ms < timeout) timeout = ms;
    }
    return timeout;
}
