#include "pty/pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

CPseudoTerminal::~CPseudoTerminal() {
    Close();
}

bool CPseudoTerminal::Fail(const std::string& what) {
    m_error = what + ": " + std::strerror(errno);
    Close();
    return false;
}

bool CPseudoTerminal::Open() {
    Close();
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return Fail("cannot create a pseudo-terminal");
    }
    char name[256];
    if (::ttyname_r(m_slave, name, sizeof name) != 0) {
        return Fail("cannot name the pseudo-terminal");
    }
    m_slavePath = name;
    // Raw on the master sets the line discipline the slave shares: no echo of
    // what the switcher answers back to it, no line editing.
    termios tio{};
    ::tcgetattr(m_master, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_master, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    return true;
}

void CPseudoTerminal::CloseMaster() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
}

void CPseudoTerminal::Close() {
    CloseMaster();
    if (m_slave >= 0) ::close(m_slave);
    m_slave = -1;
    m_slavePath.clear();
}
