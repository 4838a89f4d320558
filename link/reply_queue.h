// Hands finished reply lines from the receive thread to the thread that owns
// the link. The owner watches Link().Replies().ReadyFd() (a QSocketNotifier,
// poll(), ...) and calls DispatchReplies(), which interprets the lines one at
// a time, in order.
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

// Interprets every line received so far, each shown to Link().ReceivedLines()
// first. A call made while a line's box is open (a nested event loop) returns
// at once; the outer call goes on with the next line once the box has been
// dismissed.
void DispatchReplies();

// Waits up to timeoutMs for a line, then dispatches. True when any line was interpreted.
bool WaitForReplies(int timeoutMs);
