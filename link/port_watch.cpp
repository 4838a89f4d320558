#include "link/port_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace {

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

}  // namespace

CPortWatch::CPortWatch() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

CPortWatch::~CPortWatch() {
    if (m_fd >= 0) ::close(m_fd);
}

bool CPortWatch::Watch(const std::string& path) {
    if (m_fd < 0 || path.empty()) return false;
    // "/dev/serial/by-id/usb-x": the folder "/dev/serial/by-id" and the name
    // "usb-x"; while the folder is missing too, its own folder and name.
    std::filesystem::path folder = std::filesystem::absolute(path);
    std::string name;
    do {
        name = folder.filename();
        folder = folder.parent_path();
    } while (!IsFolder(folder) && folder != folder.root_path());
    if (m_wd >= 0 && folder == m_folder && name == m_name)
        return true;  // what came meanwhile stays
    if (m_wd >= 0) ::inotify_rm_watch(m_fd, m_wd);
    constexpr uint32_t kEvents =
        IN_CREATE | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    m_wd = ::inotify_add_watch(m_fd, folder.c_str(), kEvents);
    m_folder = folder;
    m_name = name;
    return m_wd >= 0;
}

void CPortWatch::Stop() {
    if (m_wd >= 0) ::inotify_rm_watch(m_fd, m_wd);
    m_wd = -1;
    Consume();  // what was queued before concerns the old watch
}

bool CPortWatch::Consume() {
    if (m_fd < 0) return false;
    alignas(inotify_event) char buffer[4096];
    bool relevant = false;
    for (;;) {
        ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->wd == m_wd) {
                const bool gone = event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED);
                if (gone || (event->len > 0 && m_name == event->name)) relevant = true;
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return relevant;
}
