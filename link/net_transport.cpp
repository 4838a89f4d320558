#include "link/net_transport.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

void SetOption(int fd, int level, int option, int value) {
    ::setsockopt(fd, level, option, &value, sizeof value);  // an old kernel may lack one
}

void TuneSocket(int fd) {
    SetOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);  // a command line goes out at once
    SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, CNetTransport::kKeepIdleS);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, CNetTransport::kKeepIntervalS);
    SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, CNetTransport::kKeepCount);
    SetOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, CNetTransport::kUserTimeoutMs);
}

// On a socket every error but "not now" means the connection is gone.
CIoResult Failure(int error) {
    if (error == EAGAIN || error == EWOULDBLOCK || error == EINTR) return {IoStatus::kNothing};
    return {IoStatus::kHungUp, 0, error};
}

}  // namespace

CNetTransport::CNetTransport(std::string name, CPortName address, HostResolver resolver)
    : m_name(std::move(name)), m_address(std::move(address)), m_resolver(std::move(resolver)) {}

CNetTransport::~CNetTransport() {
    Close();
}

std::string CNetTransport::Description() const {
    const std::string address = FormatPortName(m_address);
    return m_name.empty() ? address : m_name + " " + address;
}

COpenResult CNetTransport::Open() {
    Close();
    if (!m_pLookup) {
        if (auto numeric = NumericHost(m_address.host, m_address.nPort)) {
            m_targets.assign(numeric->addresses.rbegin(), numeric->addresses.rend());
            m_nLastError = 0;
            return ConnectNext();
        }
        m_pLookup = std::make_unique<CHostLookup>(m_address.host, m_address.nPort, m_resolver);
    }
    return LookedUp();
}

// Still waiting for the name service, or its answer taken and the first
// address being connected.
COpenResult CNetTransport::LookedUp() {
    if (!m_pLookup->Done()) {
        COpenResult waiting;
        waiting.bConnecting = true;
        waiting.nWaitFd = m_pLookup->Fd();
        waiting.nWaitEvents = POLLIN;
        waiting.bLookingUp = true;
        return waiting;
    }
    CLookupAnswer answer = m_pLookup->Take();
    m_pLookup.reset();  // the next Open asks again
    if (answer.addresses.empty()) {
        return {false, CLinkFailure::Resolver(FormatPortName(m_address), answer.strError)};
    }
    m_targets.assign(answer.addresses.rbegin(), answer.addresses.rend());
    m_nLastError = 0;
    return ConnectNext();
}

COpenResult CNetTransport::ConnectNext() {
    while (!m_targets.empty()) {
        const CHostAddress target = m_targets.back();
        m_targets.pop_back();
        int fd = ::socket(target.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            m_nLastError = errno;
            continue;
        }
        TuneSocket(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&target.address), target.nSize) == 0) {
            m_fd = fd;
            return Connected();
        }
        if (errno == EINPROGRESS) {
            m_fd = fd;
            COpenResult connecting;
            connecting.bConnecting = true;
            connecting.nWaitFd = fd;
            connecting.nWaitEvents = POLLOUT;
            return connecting;
        }
        m_nLastError = errno;
        ::close(fd);
    }
    return {false, LastFailure()};
}

CLinkFailure CNetTransport::LastFailure() const {
    const std::string where = FormatPortName(m_address);
    if (m_nLastError == 0) return CLinkFailure::Of(CLinkFailure::Kind::kNoAddress, where);
    return CLinkFailure::System(m_nLastError, where);
}

COpenResult CNetTransport::FinishOpen() {
    if (m_pLookup) return LookedUp();
    if (m_fd < 0) return {false, LastFailure()};
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    if (error == 0) return Connected();
    m_nLastError = error;
    CloseSocket();
    return ConnectNext();
}

// The Telnet opening goes out at once; the server's answers are read as they come.
COpenResult CNetTransport::Connected() {
    m_targets.clear();
    std::lock_guard lock(m_mutex);
    if (Telnet()) {
        m_pTelnet = std::make_unique<CTelnetCodec>();
        m_pTelnet->Open(m_line);
        int error = 0;
        if (!FlushLocked(error)) {
            m_pTelnet.reset();
            CloseSocket();
            return {false, CLinkFailure::System(error, FormatPortName(m_address))};
        }
    }
    m_bOpen.store(true, std::memory_order_release);
    return {true, {}};
}

void CNetTransport::CloseSocket() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

void CNetTransport::Close() {
    std::lock_guard lock(m_mutex);
    m_bOpen.store(false, std::memory_order_release);
    CloseSocket();
    m_pTelnet.reset();
    m_targets.clear();
    // A lookup under way is kept: the next Open takes its answer.
}

bool CNetTransport::ApplyLineSettings(const CLineSettings& line) {
    std::lock_guard lock(m_mutex);
    m_line = line;
    if (m_pTelnet) {
        m_pTelnet->SetLine(line);
        int error = 0;
        FlushLocked(error);
    }
    return true;
}

std::optional<CLineSettings> CNetTransport::ReadLineSettings() const {
    if (!Telnet()) return std::nullopt;  // a raw server keeps its own
    std::lock_guard lock(m_mutex);
    return m_line;
}

bool CNetTransport::Discard(Queue which) {
    std::lock_guard lock(m_mutex);
    if (m_pTelnet) {
        m_pTelnet->Purge(which);
        int error = 0;
        FlushLocked(error);
    }
    return true;
}

size_t CNetTransport::OutputQueued() const {
    std::lock_guard lock(m_mutex);
    int queued = 0;
    size_t held = m_pTelnet ? m_pTelnet->Outgoing().size() : 0;
    if (m_fd >= 0 && ::ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0) {
        held += static_cast<size_t>(queued);
    }
    return held;
}

bool CNetTransport::FlushLocked(int& error) {
    if (!m_pTelnet) return true;
    std::string& out = m_pTelnet->Outgoing();
    while (!out.empty()) {
        ssize_t n = ::send(m_fd, out.data(), out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            out.erase(0, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        error = n < 0 ? errno : EPIPE;
        return false;
    }
    return true;
}

bool CNetTransport::HoldsOutput() const {
    std::lock_guard lock(m_mutex);
    return m_pTelnet && !m_pTelnet->Outgoing().empty();
}

void CNetTransport::FlushHeld() {
    std::lock_guard lock(m_mutex);
    int error = 0;
    FlushLocked(error);  // a failed connection shows in the next read
}

// Each received segment is acknowledged at once: a server that holds back the
// rest of a reply until its first part is acknowledged (Nagle's rule) would
// otherwise wait for the delayed acknowledgement, some 40 ms, on every reply.
void CNetTransport::AckAtOnce() const {
    SetOption(m_fd, IPPROTO_TCP, TCP_QUICKACK, 1);
}

CIoResult CNetTransport::Read(std::span<char> buffer) {
    if (!Telnet()) {
        for (;;) {
            ssize_t n = ::recv(m_fd, buffer.data(), buffer.size(), 0);
            if (n > 0) AckAtOnce();
            if (n > 0) return {IoStatus::kDone, static_cast<size_t>(n)};
            if (n == 0) return {IoStatus::kHungUp};
            if (errno != EINTR) return Failure(errno);
        }
    }
    std::string raw(buffer.size(), '\0');
    ssize_t n;
    do {
        n = ::recv(m_fd, raw.data(), raw.size(), 0);
    } while (n < 0 && errno == EINTR);
    if (n == 0) return {IoStatus::kHungUp};
    if (n < 0) return Failure(errno);
    AckAtOnce();
    std::lock_guard lock(m_mutex);
    if (!m_pTelnet || m_pTelnet->Broken()) return {IoStatus::kFailed, 0, EPROTO};
    std::string data;  // never longer than what came in
    m_pTelnet->Receive(std::string_view(raw.data(), static_cast<size_t>(n)), data);
    int error = 0;
    if (!FlushLocked(error)) return {IoStatus::kHungUp, 0, error};
    if (data.empty())
        return m_pTelnet->Broken() ? CIoResult{IoStatus::kFailed, 0, EPROTO} : CIoResult{};
    std::memcpy(buffer.data(), data.data(), data.size());
    return {IoStatus::kDone, data.size()};
}

CIoResult CNetTransport::Write(std::string_view bytes) {
    if (!Telnet()) {
        for (;;) {
            ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0) return {IoStatus::kDone, static_cast<size_t>(n)};
            if (n == 0) return {IoStatus::kNothing};
            if (errno != EINTR) return Failure(errno);
        }
    }
    std::lock_guard lock(m_mutex);
    if (!m_pTelnet) return {IoStatus::kFailed, 0, ENOTCONN};
    int error = 0;
    if (!FlushLocked(error)) return Failure(error);
    // New data only once the last has gone, so that what waits here stays small.
    if (!m_pTelnet->Outgoing().empty()) return {IoStatus::kNothing};
    m_pTelnet->Send(bytes);
    if (!FlushLocked(error)) return Failure(error);
    return {IoStatus::kDone, bytes.size()};
}
