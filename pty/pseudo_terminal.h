// A pseudo-terminal pair standing in for a serial line: whoever plays the
// switcher talks on the master side, the program opens the slave side's path
// as its port. POSIX only, so that the virtual switcher, the tests and the
// benchmark can all use it without the link.
#pragma once

#include <string>

class CPseudoTerminal {
public:
    CPseudoTerminal() = default;
    ~CPseudoTerminal();
    CPseudoTerminal(const CPseudoTerminal&) = delete;
    CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

    // Creates the pair: the master raw, so that nothing is echoed or edited on
    // the way, and non-blocking; both close-on-exec. False, with Error() set,
    // when that fails.
    bool Open();
    void Close();
    // The switcher's side goes away: the program's port sees a hang-up.
    void CloseMaster();

    bool IsOpen() const { return m_master >= 0; }
    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);

    int m_master = -1;
    int m_slave = -1;  // held so the terminal outlives the program's open and close of it
    std::string m_slavePath;
    std::string m_error;
};
