// Tells the I/O thread when a device that went away may be back: inotify on
// the folder that holds its path (a USB adapter's node in /dev, its link in
// /dev/serial/by-id), or on the nearest folder above it that exists while
// that folder is gone too. Only names on the way to the path count.
#pragma once

#include <string>

class CPortWatch {
public:
    CPortWatch();
    ~CPortWatch();
    CPortWatch(const CPortWatch&) = delete;
    CPortWatch& operator=(const CPortWatch&) = delete;

    // Watches for `path` (or the folder on its way) to appear or change. The
    // same watch again keeps what it has seen and not yet consumed. False when
    // nothing can be watched; the caller then retries on a timer only.
    bool Watch(const std::string& path);
    void Stop();

    // Readable when something happened in the watched folder; -1 without inotify.
    int Fd() const { return m_fd; }
    // Reads what happened: true when it concerned the watched name, or the
    // folder itself went (watch again).
    bool Consume();

private:
    int m_fd = -1;
    int m_wd = -1;
    std::string m_folder;
    std::string m_name;  // the name in the watched folder that leads to the path
};
