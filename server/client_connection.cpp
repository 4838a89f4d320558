#include "server/client_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

// At most this much is read from one client per call, so that one that
// sends without pause cannot hold up the others.
constexpr size_t kReadPerCall = 64 * 1024;

}  // namespace

CClientConnection::~CClientConnection() {
    ::close(m_fd);
}

bool CClientConnection::ReadBlocks(std::vector<CVideohubBlock>& out) {
    char buffer[4096];
    for (size_t total = 0; total < kReadPerCall;) {
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        if (m_assembler.Feed({buffer, static_cast<size_t>(n)}, out) ==
            CBlockAssembler::Fed::kOverflow) {
            return false;
        }
        total += static_cast<size_t>(n);
    }
    return true;
}

bool CClientConnection::Send(std::string_view bytes) {
    if (m_out.size() + bytes.size() > kMaxClientBacklog) return false;
    m_out.append(bytes);
    return Flush();
}

bool CClientConnection::Flush() {
    while (!m_out.empty()) {
        const ssize_t n = ::send(m_fd, m_out.data(), m_out.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        m_out.erase(0, static_cast<size_t>(n));
    }
    return true;
}
