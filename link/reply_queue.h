// Hands finished reply lines from the receive thread to the thread that owns
// the link, and with them, in order, what happened to the port. The owner
// watches Link().Replies().ReadyFd() (a QSocketNotifier, poll(), ...) and
// calls DispatchReplies() (link/reply_dispatch.h).
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "link/link_state.h"

class CReplyQueue {
public:
    CReplyQueue();
    ~CReplyQueue();
    CReplyQueue(const CReplyQueue&) = delete;
    CReplyQueue& operator=(const CReplyQueue&) = delete;

    using Item = std::variant<std::string, CPortEvent>;

    // Receive thread: queues a line, or an event of the port, and makes
    // ReadyFd() readable.
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
