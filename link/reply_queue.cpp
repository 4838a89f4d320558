#include "link/reply_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

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
