// The single-instance lock "Qelvar_Instance": a file lock every program of the
// user's desktop sees, released by the process's end even when it crashes.
#pragma once

#include <string>

class CInstanceLock {
public:
    CInstanceLock() = default;
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // False when another instance holds it.
    bool Acquire();
    void Release();
    bool Held() const { return m_fd >= 0; }

    // $XDG_RUNTIME_DIR/Qelvar_Instance.lock, or one per user in /tmp.
    static std::string LockPath();

private:
    int m_fd = -1;
};
