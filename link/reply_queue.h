// Hands finished reply lines from the receive thread to the thread that owns
// the link. The owner watches Link().Replies().ReadyFd() (a QSocketNotifier,
// poll(), ...) and calls DispatchReplies() (link/reply_dispatch.h).
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class CReplyQueue {
public:
    CReplyQueue();
    ~CReplyQueue();
    CReplyQueue(const CReplyQueue&) = delete;
    CReplyQueue& operator=(const CReplyQueue&) = delete;

    // Receive thread: queues a line and makes ReadyFd() readable.
    void Push(std::string line);
    std::optional<std::string> Pop();
    void Clear();

    // Readable while lines may be waiting.
    int ReadyFd() const { return m_fd; }
    // Consumes the readiness; lines still queued stay queued.
    void ConsumeReady();

private:
    mutable std::mutex m_mutex;
    std::deque<std::string> m_lines;
    int m_fd;
};
