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
        m_items.emplace_back(CReceivedLine{std::move(line), std::chrono::system_clock::now()});
    }
    ::eventfd_write(m_fd, 1);
}

void CReplyQueue::PushEvent(CPortEvent event) {
    event.time = std::chrono::system_clock::now();
    {
        std::lock_guard lock(m_mutex);
        m_items.emplace_back(std::move(event));
    }
    ::eventfd_write(m_fd, 1);
}

std::optional<CReplyQueue::Item> CReplyQueue::Pop() {
    std::lock_guard lock(m_mutex);
    if (m_items.empty()) return std::nullopt;
    Item item = std::move(m_items.front());
    m_items.pop_front();
    return item;
}

void CReplyQueue::Clear() {
    std::lock_guard lock(m_mutex);
    m_items.clear();
}

void CReplyQueue::ConsumeReady() {
    eventfd_t count;
    ::eventfd_read(m_fd, &count);
}
