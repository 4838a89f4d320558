#include "link/port_writer.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/serial_port.h"

void CPortWriter::Write(int fd, std::string_view bytes, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    if (fd < 0 || bytes.empty()) return;
    m_pending.append(bytes);
    m_nSubmitted += bytes.size();
    m_outstanding.push_back({m_nSubmitted, now + kWriteTimeout});
    WriteLocked(fd);
}

void CPortWriter::WriteLocked(int fd) {
    while (!m_pending.empty()) {
        ssize_t n = ::write(fd, m_pending.data(), m_pending.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            // A broken port: the missing reply is the only symptom.
            m_nAccepted += m_pending.size();
            m_pending.clear();
            return;
        }
        if (n <= 0) return;
        m_pending.erase(0, static_cast<size_t>(n));
        m_nAccepted += static_cast<uint64_t>(n);
    }
}

bool CPortWriter::HasPending() const {
    std::lock_guard lock(m_mutex);
    return !m_pending.empty();
}

void CPortWriter::Flush(int fd) {
    std::lock_guard lock(m_mutex);
    WriteLocked(fd);
}

void CPortWriter::ForgetSent(int fd) {
    uint64_t queued = static_cast<uint64_t>(OutputQueued(fd));
    uint64_t sent = m_nAccepted - std::min(queued, m_nAccepted);
    while (!m_outstanding.empty() && m_outstanding.front().end <= sent) m_outstanding.pop_front();
}

int CPortWriter::MsUntilTimeout(int fd, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    ForgetSent(fd);
    if (m_outstanding.empty()) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(m_outstanding.front().deadline - now);
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void CPortWriter::DiscardTimedOut(int fd, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    ForgetSent(fd);
    if (m_outstanding.empty() || m_outstanding.front().deadline > now) return;
    m_pending.clear();
    m_outstanding.clear();
    ::tcflush(fd, TCOFLUSH);
    m_nAccepted = m_nSubmitted;
}

void CPortWriter::Reset() {
    std::lock_guard lock(m_mutex);
    m_pending.clear();
    m_outstanding.clear();
    m_nAccepted = m_nSubmitted;
}

size_t CPortWriter::PendingBytes() const {
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}
