// Writes to the port without ever blocking the caller. What the driver does not
// take at once waits here and the I/O thread finishes it; a write that has not
// gone out on the line within 1000 ms is discarded, with everything after it.
// Shared by the link's owner (Write) and the I/O thread (the rest): locked.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

class ITransport;

class CPortWriter {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kWriteTimeout{1000};

    // Starts writing bytes to the port. Without an open port, while the port
    // is detached, or when the write fails, the bytes are dropped silently.
    void Write(ITransport* port, std::string_view bytes, Clock::time_point now = Clock::now());

    // I/O thread: whether it must wait for room to write.
    bool HasPending() const;
    // I/O thread: writes what the port takes now, its own held bytes first.
    void Flush(ITransport& port);
    // I/O thread: milliseconds until the oldest outstanding write times out, -1 for none.
    int MsUntilTimeout(ITransport& port, Clock::time_point now = Clock::now());
    // I/O thread: discards pending and queued output when the oldest write
    // timed out; true when it did.
    bool DiscardTimedOut(ITransport& port, Clock::time_point now = Clock::now());
    // I/O thread: true once, when a write has gone out after a time-out.
    bool TakeResumed();

    // I/O thread: the port is lost; writes are dropped, and nothing of the
    // writer touches the port, until Attach. Forgets what waits.
    void Detach();
    // I/O thread: the port is open again.
    void Attach();

    // Forgets everything (the port is being closed); the port counts as attached.
    void Reset();
    size_t PendingBytes() const;

private:
    struct Outstanding {
        uint64_t end;  // byte count, over all writes, at which this write is complete
        Clock::time_point deadline;
    };
    void WriteLocked(ITransport& port);
    void ForgetSent(ITransport& port);

    mutable std::mutex m_mutex;
    std::string m_pending;  // bytes the port has not taken yet
    uint64_t m_nSubmitted = 0;
    uint64_t m_nAccepted = 0;  // bytes the port has taken
    std::deque<Outstanding> m_outstanding;
    bool m_bDetached = false;
    bool m_bStalled = false;
    bool m_bResumed = false;
};
