// A pseudo-terminal standing in for the serial line: the program opens the
// slave side as its port, the test plays the switcher on the master side.
#pragma once

#include <string>
#include <string_view>

class CPtyPair {
public:
    CPtyPair();  // master in raw mode and non-blocking
    ~CPtyPair();
    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

    void Write(std::string_view bytes);
    // Reads until `count` bytes have arrived or timeoutMs has passed.
    std::string Read(size_t count, int timeoutMs = 2000);
    // Reads whatever arrives within timeoutMs.
    std::string ReadFor(int timeoutMs);
    void CloseMaster();

private:
    int m_master = -1;
    int m_slave = -1;  // held so the terminal outlives the program's open and close
    std::string m_slavePath;
};
