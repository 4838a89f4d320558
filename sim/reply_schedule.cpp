#include "sim/reply_schedule.h"
#include "protocol/time_left.h"

#include <algorithm>

namespace {

constexpr int kBitsPerCharacter = 11;

}  // namespace

CReplySchedule::CReplySchedule(int nDelayMs, bool bSplitBytes, int nBaud)
    : m_delay(std::max(nDelayMs, 0)), m_bSplitBytes(bSplitBytes), m_nBaud(std::max(nBaud, 0)) {}

CReplySchedule::Clock::duration CReplySchedule::WireTime(size_t nBytes) const {
    if (m_nBaud == 0) return Clock::duration::zero();
    const auto us = static_cast<long long>(nBytes) * kBitsPerCharacter * 1000000LL / m_nBaud;
    return std::chrono::microseconds(us);
}

void CReplySchedule::Add(const std::string& reply, Clock::time_point now, size_t nHeardBytes) {
    if (reply.empty()) return;
    // The line heard has come in once it and the lines before it have crossed the wire.
    m_heardEnd = std::max(now, m_heardEnd) + WireTime(nHeardBytes);
    Clock::time_point due =
        std::max(m_heardEnd + m_delay + WireTime(reply.size()), m_lastDue + WireTime(reply.size()));
    if (!m_bSplitBytes) {
        m_chunks.push_back({due, reply, true});
        m_lastDue = due;
        return;
    }
    due = std::max(due, m_lastDue + kSplitGap);
    for (size_t i = 0; i < reply.size(); ++i, due += kSplitGap) {
        m_chunks.push_back({due, reply.substr(i, 1), i + 1 == reply.size()});
        m_lastDue = due;
    }
}

int CReplySchedule::MsUntilDue(Clock::time_point now) const {
    if (m_chunks.empty()) return -1;
    return MsUntil(m_chunks.front().due, now);
}

std::string_view CReplySchedule::DueBytes(Clock::time_point now) const {
    if (m_chunks.empty() || m_chunks.front().due > now) return {};
    return m_chunks.front().bytes;
}

bool CReplySchedule::Consume(size_t count) {
    CChunk& front = m_chunks.front();
    front.bytes.erase(0, count);
    if (!front.bytes.empty()) return false;
    bool ends = front.bEndsReply;
    m_chunks.pop_front();
    return ends;
}
