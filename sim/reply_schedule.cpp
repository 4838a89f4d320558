#include "sim/reply_schedule.h"

#include <algorithm>

CReplySchedule::CReplySchedule(int nDelayMs, bool bSplitBytes)
    : m_delay(std::max(nDelayMs, 0)), m_bSplitBytes(bSplitBytes) {}

void CReplySchedule::Add(const std::string& reply, Clock::time_point now) {
    if (reply.empty()) return;
    Clock::time_point due = std::max(now + m_delay, m_lastDue);
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
    auto left = m_chunks.front().due - now;
    if (left <= Clock::duration::zero()) return 0;
    // Rounded up, so a wake-up never comes before the chunk is due.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
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
