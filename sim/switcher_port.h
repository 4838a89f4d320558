// The switcher's end of the serial line: the master side of a pseudo-terminal
// it creates (the program opens the slave side as its port), or a serial
// device it is given. The descriptor is non-blocking.
#pragma once

#include <string>

#include "pty/pseudo_terminal.h"

class CSwitcherPort {
public:
    CSwitcherPort() = default;
    ~CSwitcherPort();
    CSwitcherPort(const CSwitcherPort&) = delete;
    CSwitcherPort& operator=(const CSwitcherPort&) = delete;

    // Creates a pseudo-terminal. False, with Error() set, when that fails.
    bool OpenPseudoTerminal();
    // Opens a serial device with the program's line settings (9600 baud, 8 data
    // bits, even parity, 1 stop bit, hardware and XON/XOFF flow control).
    bool OpenDevice(const std::string& path);
    void Close();

    bool IsOpen() const { return Fd() >= 0; }
    int Fd() const { return m_pty.IsOpen() ? m_pty.Master() : m_deviceFd; }
    // The path the program opens: the slave side, or the device itself.
    const std::string& DevicePath() const { return m_devicePath; }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what);

    CPseudoTerminal m_pty;
    int m_deviceFd = -1;
    std::string m_devicePath;
    std::string m_error;
};
