// Replies waiting to be written, each due at its own time: after the reply
// delay, and byte by byte a few milliseconds apart when replies are split.
// Order is kept: a reply never overtakes the one before it.
#pragma once

#include <chrono>
#include <deque>
#include <string>

class CReplySchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSplitGap{3};

    CReplySchedule(int nDelayMs, bool bSplitBytes);

    void Add(const std::string& reply, Clock::time_point now);
    bool Empty() const { return m_chunks.empty(); }
    void Clear() { m_chunks.clear(); }

    // Milliseconds until the first chunk is due (0 when it is), -1 when none waits.
    int MsUntilDue(Clock::time_point now) const;

    // The bytes of the first chunk, when it is due; empty otherwise.
    std::string_view DueBytes(Clock::time_point now) const;
    // Drops count written bytes of the first chunk; true when that finished a reply.
    bool Consume(size_t count);

private:
    struct CChunk {
        Clock::time_point due;
        std::string bytes;
        bool bEndsReply;
    };

    std::chrono::milliseconds m_delay;
    bool m_bSplitBytes;
    std::deque<CChunk> m_chunks;
    Clock::time_point m_lastDue{};
};
