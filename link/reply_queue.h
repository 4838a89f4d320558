// Hands finished reply lines from the receive thread to the thread that owns
// the link, and with them, in order, what happened to the port. The owner
// watches Link().Replies().ReadyFd() (a QSocketNotifier, poll(), ...) and
// calls DispatchReplies() (link/reply_dispatch.h).
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "link/link_state.h"

// A line as the receive thread finished it, and when.
struct CReceivedLine {
    std::string line;
    std::chrono::system_clock::time_point time;
};

class CReplyQueue {
public:
    CReplyQueue();
    ~CReplyQueue();
    CReplyQueue(const CReplyQueue&) = delete;
    CReplyQueue& operator=(const CReplyQueue&) = delete;

    using Item = std::variant<CReceivedLine, CPortEvent>;

    // Receive thread: queues a line, or an event of the port, stamped with
    // the time now, and makes ReadyFd() readable.
    void Push(std::string line);
    void PushEvent(CPortEvent event);
    std::optional<Item> Pop();
    void Clear();

    // Readable while lines may be waiting.
    int ReadyFd() const { return m_fd; }
    // Consumes the readiness; lines still queued stay queued.
    void ConsumeReady();

private:
    mutable std::mutex m_mutex;
    std::deque<Item> m_items;
    int m_fd;
};
