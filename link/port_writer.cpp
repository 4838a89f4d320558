#include "link/port_writer.h"

#include <algorithm>
#include <utility>

#include "link/transport.h"
#include "protocol/time_left.h"

void CPortWriter::Write(ITransport* port, std::string_view bytes, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    if (m_bDetached || !port || !port->IsOpen() || bytes.empty()) return;
    m_pending.append(bytes);
    m_nSubmitted += bytes.size();
    m_outstanding.push_back({m_nSubmitted, now + kWriteTimeout});
    WriteLocked(*port);
}

void CPortWriter::WriteLocked(ITransport& port) {
    while (!m_pending.empty()) {
        CIoResult wrote = port.Write(m_pending);
        if (wrote.status == IoStatus::kNothing) return;
        if (wrote.status != IoStatus::kDone) {
            // A broken port: the missing reply is the only symptom.
            m_nAccepted += m_pending.size();
            m_pending.clear();
            return;
        }
        m_pending.erase(0, wrote.nBytes);
        m_nAccepted += wrote.nBytes;
    }
}

bool CPortWriter::HasPending() const {
    std::lock_guard lock(m_mutex);
    return !m_pending.empty();
}

void CPortWriter::Flush(ITransport& port) {
    std::lock_guard lock(m_mutex);
    if (m_bDetached) return;
    port.FlushHeld();
    WriteLocked(port);
}

void CPortWriter::ForgetSent(ITransport& port) {
    uint64_t queued = port.OutputQueued();
    uint64_t sent = m_nAccepted - std::min(queued, m_nAccepted);
    bool gone = false;
    while (!m_outstanding.empty() && m_outstanding.front().end <= sent) {
        m_outstanding.pop_front();
        gone = true;
    }
    if (gone && m_bStalled) {
        m_bStalled = false;
        m_bResumed = true;
    }
}

int CPortWriter::MsUntilTimeout(ITransport& port, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    ForgetSent(port);
    if (m_outstanding.empty()) return -1;
    return MsUntil(m_outstanding.front().deadline, now);
}

bool CPortWriter::DiscardTimedOut(ITransport& port, Clock::time_point now) {
    std::lock_guard lock(m_mutex);
    ForgetSent(port);
    if (m_outstanding.empty() || m_outstanding.front().deadline > now) return false;
    m_pending.clear();
    m_outstanding.clear();
    port.Discard(Queue::kOutput);
    m_nAccepted = m_nSubmitted;
    m_bStalled = true;
    m_bResumed = false;
    return true;
}

bool CPortWriter::TakeResumed() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_bResumed, false);
}

void CPortWriter::Detach() {
    std::lock_guard lock(m_mutex);
    m_bDetached = true;
    m_pending.clear();
    m_outstanding.clear();
    m_nAccepted = m_nSubmitted;
    m_bStalled = false;
    m_bResumed = false;
}

void CPortWriter::Attach() {
    std::lock_guard lock(m_mutex);
    m_bDetached = false;
}

void CPortWriter::Reset() {
    std::lock_guard lock(m_mutex);
    m_pending.clear();
    m_outstanding.clear();
    m_nAccepted = m_nSubmitted;
    m_bDetached = false;
    m_bStalled = false;
    m_bResumed = false;
}

size_t CPortWriter::PendingBytes() const {
    std::lock_guard lock(m_mutex);
    return m_pending.size();
}
