#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

CInstanceLock::~CInstanceLock() {
    Release();
}

std::string CInstanceLock::LockPath() {
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir) {
        return std::string(dir) + "/Qelvar_Instance.lock";
    }
    return "/tmp/Qelvar_Instance-" + std::to_string(::getuid()) + ".lock";
}

bool CInstanceLock::Acquire() {
    if (m_fd >= 0) return true;
    int fd = ::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;  // no lock can be made: run without single-instance protection
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CInstanceLock::Release() {
    if (m_fd < 0) return;
    ::close(m_fd);  // closing drops the lock
    m_fd = -1;
}
