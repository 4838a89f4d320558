// A pseudo-terminal standing in for the serial line: the program opens the
// slave side as its port, the test plays the switcher on the master side.
#pragma once

#include <string>
#include <string_view>

#include "pty/pseudo_terminal.h"

class CPtyPair {
public:
    CPtyPair();  // master in raw mode and non-blocking; throws when no pair can be made
    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    int Master() const { return m_pty.Master(); }
    const std::string& SlavePath() const { return m_pty.SlavePath(); }

    void Write(std::string_view bytes);
    // Reads until `count` bytes have arrived or timeoutMs has passed.
    std::string Read(size_t count, int timeoutMs = 2000);
    // Reads whatever arrives within timeoutMs.
    std::string ReadFor(int timeoutMs);
    void CloseMaster() { m_pty.CloseMaster(); }

private:
    CPseudoTerminal m_pty;
};
