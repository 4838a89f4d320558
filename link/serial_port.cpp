#include "link/serial_port.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/comm_settings.h"
#include "link/message_sink.h"

int g_hComm = -1;
int g_hWakeEvent = -1;

namespace {

std::string OpenFailureReason(const std::string& path, int err) {
    std::string reason = path + ": " + std::strerror(err);
    if (err == EACCES) reason += " (is the user in the dialout group?)";
    return reason;
}

// Opens the device for reading and writing, shared with no other program.
int OpenExclusive(const std::string& path, std::string* reason) {
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = OpenFailureReason(path, errno);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *reason = path + ": in use by another program";
        ::close(fd);
        return -1;
    }
    if (::isatty(fd)) ::ioctl(fd, TIOCEXCL);
    return fd;
}

// The receive loop polls the port, so reads and writes must never block.
bool SetNonBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Starts with empty driver queues.
bool ClearQueues(int fd) {
    return ::tcflush(fd, TCIOFLUSH) == 0;
}

// A read returns at once with whatever is queued.
bool SetReadTimeouts(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

// The C library reports a driver that silently drops parity generation (a
// pseudo-terminal does) as a failure, although everything else was applied.
bool AppliedButParity(int fd, const termios& wanted) {
    termios now{};
    if (errno != EINVAL || ::tcgetattr(fd, &now) != 0) return false;
    return now.c_iflag == wanted.c_iflag && now.c_oflag == wanted.c_oflag &&
           now.c_lflag == wanted.c_lflag && (now.c_cflag | PARENB) == wanted.c_cflag &&
           ::cfgetospeed(&now) == ::cfgetospeed(&wanted) &&
           now.c_cc[VSTART] == wanted.c_cc[VSTART] && now.c_cc[VSTOP] == wanted.c_cc[VSTOP];
}

bool SetLineState(int fd) {
    termios tio{};
    ::tcgetattr(fd, &tio);  // starts from what the driver reports, even when that fails
    ApplyLineSettings(tio);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0 && !AppliedButParity(fd, tio)) return false;
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd, TIOCMBIS, &lines);  // not every device has modem lines
    return true;
}

}  // namespace

void ApplyLineSettings(termios& tio) {
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | INPCK);
    tio.c_iflag |= IXON | IXOFF;
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARODD | CSTOPB);
    tio.c_cflag |= CS8 | PARENB | CRTSCTS | CLOCAL | CREAD;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
}

int OutputQueued(int fd) {
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}

int CreateWakeEvent() {
    return ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

void OpenCommPort(WakeEventCreator createWakeEvent) {
    g_hWakeEvent = createWakeEvent();

    std::string reason;
    g_hComm = OpenExclusive(CommPortPath(), &reason);
    if (g_hComm < 0) ShowSetupError("Miss! File Open\n" + reason);
    if (!SetNonBlocking(g_hComm)) ShowSetupError("Miss! Mask Set");
    if (!ClearQueues(g_hComm)) ShowSetupError("Miss! Buffer Set");
    if (!SetReadTimeouts(g_hComm)) ShowSetupError("Miss! Time Out Set");
    if (!SetLineState(g_hComm)) ShowSetupError("Miss! Set Comm State");
}

void CloseCommHandles() {
    if (g_hComm >= 0) {
        ::ioctl(g_hComm, TIOCNXCL);
        ::close(g_hComm);
        g_hComm = -1;
    }
    if (g_hWakeEvent >= 0) {
        ::close(g_hWakeEvent);
        g_hWakeEvent = -1;
    }
}
