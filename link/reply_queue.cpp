#include "link/reply_queue.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

#include "link/link_context.h"
#include "link/reply_interpreter.h"

CReplyQueue::CReplyQueue() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CReplyQueue::~CReplyQueue() {
    if (m_fd >= 0) ::close(m_fd);
}

void CReplyQueue::Push(std::string line) {
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::move(line));
    }
    ::eventfd_write(m_fd, 1);
}

std::optional<std::string> CReplyQueue::Pop() {
    std::lock_guard lock(m_mutex);
    if (m_lines.empty()) return std::nullopt;
    std::string line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}

void CReplyQueue::Clear() {
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

void CReplyQueue::ConsumeReady() {
    eventfd_t count;
    ::eventfd_read(m_fd, &count);
}

namespace {

int DispatchPending() {
    CLinkContext& link = Link();
    CReplyQueue& replies = link.Replies();
    replies.ConsumeReady();
    if (link.Dispatching()) return 0;
    link.SetDispatching(true);
    int count = 0;
    while (auto line = replies.Pop()) {
        link.NoteReceived(*line);
        InterpretReply(*line);
        ++count;
    }
    link.SetDispatching(false);
    return count;
}

}  // namespace

void DispatchReplies() {
    DispatchPending();
}

bool WaitForReplies(int timeoutMs) {
    pollfd pfd{Link().Replies().ReadyFd(), POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&pfd, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return DispatchPending() > 0;
}
