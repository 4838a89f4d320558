#include "sim/switcher_port.h"

#include <fcntl.h>
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
    if (!m_pty.Open()) {
        m_error = m_pty.Error();
        return false;
    }
    m_devicePath = m_pty.SlavePath();
    return true;
}

bool CSwitcherPort::OpenDevice(const std::string& path) {
    Close();
    m_deviceFd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_deviceFd < 0) return Fail("cannot open " + path);
    m_devicePath = path;
    SetLineSettings(m_deviceFd);
    return true;
}

void CSwitcherPort::Close() {
    m_pty.Close();
    if (m_deviceFd >= 0) ::close(m_deviceFd);
    m_deviceFd = -1;
    m_devicePath.clear();
}
