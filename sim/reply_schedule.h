// Replies waiting to be written, each due at its own time: after the reply
// delay, and byte by byte a few milliseconds apart when replies are split.
// At a given line speed a reply is due no sooner than the line it answers and
// the reply itself take on the wire (11 bits a character: start, 8 data bits,
// even parity, stop), as a pseudo-terminal carries both at once.
// Order is kept: a reply never overtakes the one before it.
#pragma once

#include <chrono>
#include <deque>
#include <string>

class CReplySchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSplitGap{3};

    CReplySchedule(int nDelayMs, bool bSplitBytes, int nBaud = 0);

    // The reply to a line of nHeardBytes that came in at now; a pseudo-terminal
    // brings lines at once, the wire one after the other.
    void Add(const std::string& reply, Clock::time_point now, size_t nHeardBytes = 0);
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

    Clock::duration WireTime(size_t nBytes) const;

    std::chrono::milliseconds m_delay;
    bool m_bSplitBytes;
    int m_nBaud;  // 0: the wire takes no time
    std::deque<CChunk> m_chunks;
    Clock::time_point m_lastDue{};
    Clock::time_point m_heardEnd{};  // when the last line heard has crossed the wire
};
