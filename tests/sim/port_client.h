// The program's side of the virtual switcher's line: opens the device path as
// the program opens its port and talks through it.
#pragma once

#include <string>
#include <string_view>

class CPortClient {
public:
    explicit CPortClient(const std::string& path);  // raw mode, non-blocking
    ~CPortClient();
    CPortClient(const CPortClient&) = delete;
    CPortClient& operator=(const CPortClient&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    void Write(std::string_view bytes);
    // Reads until count lines have arrived or timeoutMs has passed.
    std::string ReadLines(int count, int timeoutMs = 2000);
    // Number of reads that returned bytes since the client was opened.
    int Reads() const { return m_nReads; }

private:
    int m_fd = -1;
    int m_nReads = 0;
};
