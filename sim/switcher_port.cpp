#include "sim/switcher_port.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

void SetLineSettings(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;  // not a terminal: taken as it is
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARODD | CSTOPB);
    tio.c_cflag |= CS8 | PARENB | CRTSCTS | CLOCAL | CREAD;
    tio.c_iflag |= IXON | IXOFF;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

CSwitcherPort::~CSwitcherPort() {
    Close();
}

bool CSwitcherPort::Fail(const std::string& what) {
    m_error = what + ": " + std::strerror(errno);
    Close();
    return false;
}

bool CSwitcherPort::OpenPseudoTerminal() {
    Close();
    if (::openpty(&m_fd, &m_slave, nullptr, nullptr, nullptr) != 0) {
        return Fail("cannot create a pseudo-terminal");
    }
    char name[256];
    if (::ttyname_r(m_slave, name, sizeof name) != 0)
        return Fail("cannot name the pseudo-terminal");
    m_devicePath = name;
    // Raw on the master sets the line discipline the program's port shares: no
    // echo of replies back to us, no line editing.
    termios tio{};
    ::tcgetattr(m_fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_fd, TCSANOW, &tio);
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    return true;
}

bool CSwitcherPort::OpenDevice(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return Fail("cannot open " + path);
    m_devicePath = path;
    SetLineSettings(m_fd);
    return true;
}

void CSwitcherPort::Close() {
    if (m_fd >= 0) ::close(m_fd);
    if (m_slave >= 0) ::close(m_slave);
    m_fd = -1;
    m_slave = -1;
    m_devicePath.clear();
}
