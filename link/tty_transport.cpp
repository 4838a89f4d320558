#include "link/tty_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace {

struct CBaud {
    int nBaud;
    speed_t speed;
};

constexpr CBaud kBauds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                            {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};

speed_t SpeedOf(int baud) {
    for (const auto& b : kBauds) {
        if (b.nBaud == baud) return b.speed;
    }
    return B9600;
}

int BaudOf(speed_t speed) {
    for (const auto& b : kBauds) {
        if (b.speed == speed) return b.nBaud;
    }
    return 0;
}

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

int DataBitsOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
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

}  // namespace

void ApplyLineSettings(termios& tio, const CLineSettings& line) {
    tio.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | INPCK | IXON | IXOFF);
    if (line.bXonXoff) tio.c_iflag |= IXON | IXOFF;
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ECHOE | ECHOK | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= SizeFlag(line.nDataBits) | CLOCAL | CREAD;
    if (line.parity != Parity::kNone) tio.c_cflag |= PARENB;
    if (line.parity == Parity::kOdd) tio.c_cflag |= PARODD;
    if (line.nStopBits == 2) tio.c_cflag |= CSTOPB;
    if (line.bRtsCts) tio.c_cflag |= CRTSCTS;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedOf(line.nBaud));
    ::cfsetospeed(&tio, SpeedOf(line.nBaud));
}

CTtyTransport::CTtyTransport(std::string name, std::string path)
    : m_name(std::move(name)), m_path(std::move(path)) {}

CTtyTransport::~CTtyTransport() {
    Close();
}

std::string CTtyTransport::Description() const {
    return m_name.empty() ? m_path : m_name + " " + m_path;
}

// Reading and writing, shared with no other program.
COpenResult CTtyTransport::Open() {
    Close();
    int fd = ::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {false, CLinkFailure::DeviceOpen(m_path, errno)};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return {false, CLinkFailure::Of(CLinkFailure::Kind::kInUse, m_path)};
    }
    m_bTerminal = ::isatty(fd);
    if (m_bTerminal) ::ioctl(fd, TIOCEXCL);
    m_fd = fd;
    return {true, {}};
}

void CTtyTransport::Close() {
    if (m_fd < 0) return;
    if (m_bTerminal) ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_bTerminal = false;
}

bool CTtyTransport::SetNonBlocking() {
    int flags = ::fcntl(m_fd, F_GETFL);
    return flags >= 0 && ::fcntl(m_fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool CTtyTransport::SetReadTimeouts() {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool CTtyTransport::ApplyLineSettings(const CLineSettings& line) {
    termios tio{};
    ::tcgetattr(m_fd, &tio);  // starts from what the driver reports, even when that fails
    ::ApplyLineSettings(tio, line);
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0 && !AppliedButParity(m_fd, tio)) return false;
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);  // not every device has modem lines
    return true;
}

std::optional<CLineSettings> CTtyTransport::ReadLineSettings() const {
    termios tio{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0) return std::nullopt;
    CLineSettings line;
    line.nBaud = BaudOf(::cfgetospeed(&tio));
    line.nDataBits = DataBitsOf(tio.c_cflag);
    line.parity = !(tio.c_cflag & PARENB)  ? Parity::kNone
                  : (tio.c_cflag & PARODD) ? Parity::kOdd
                                           : Parity::kEven;
    line.nStopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    line.bRtsCts = (tio.c_cflag & CRTSCTS) != 0;
    line.bXonXoff = (tio.c_iflag & IXON) && (tio.c_iflag & IXOFF);
    return line;
}

bool CTtyTransport::Discard(Queue which) {
    int queue = which == Queue::kInput ? TCIFLUSH : which == Queue::kOutput ? TCOFLUSH : TCIOFLUSH;
    return ::tcflush(m_fd, queue) == 0;
}

size_t CTtyTransport::OutputQueued() const {
    int queued = 0;
    return ::ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0 ? static_cast<size_t>(queued) : 0;
}

// A terminal that returns at once reads nothing both when nothing has come
// and when the far end hung up; only the latter shows in poll. Any other
// device reads nothing at its end.
bool CTtyTransport::HungUp() const {
    if (!m_bTerminal) return true;
    pollfd pfd{m_fd, POLLIN, 0};
    return ::poll(&pfd, 1, 0) > 0 && (pfd.revents & POLLHUP);
}

CIoResult CTtyTransport::Read(std::span<char> buffer) {
    ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
    if (n > 0) return {IoStatus::kDone, static_cast<size_t>(n)};
    if (n == 0) return {HungUp() ? IoStatus::kHungUp : IoStatus::kNothing};
    if (errno == EAGAIN || errno == EINTR) return {IoStatus::kNothing};
    if (errno == EIO) return {IoStatus::kHungUp, 0, errno};
    return {IoStatus::kFailed, 0, errno};
}

CIoResult CTtyTransport::Write(std::string_view bytes) {
    for (;;) {
        ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n > 0) return {IoStatus::kDone, static_cast<size_t>(n)};
        if (n == 0 || errno == EAGAIN) return {IoStatus::kNothing};
        if (errno == EINTR) continue;
        if (errno == EIO || errno == EPIPE) return {IoStatus::kHungUp, 0, errno};
        return {IoStatus::kFailed, 0, errno};
    }
}

std::optional<int> CTtyTransport::ModemLines() const {
    int lines = 0;
    if (m_fd < 0 || !m_bTerminal || ::ioctl(m_fd, TIOCMGET, &lines) != 0) return std::nullopt;
    return lines;
}
