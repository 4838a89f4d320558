#include "tests/sim/port_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

CPortClient::CPortClient(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return;
    termios tio{};
    ::tcgetattr(m_fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_fd, TCSANOW, &tio);
}

CPortClient::~CPortClient() {
    if (m_fd >= 0) ::close(m_fd);
}

void CPortClient::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) throw std::runtime_error("write to the switcher's line failed");
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

std::string CPortClient::ReadLines(int count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (std::count(got.begin(), got.end(), '\n') < count) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd pfd{m_fd, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[512];
        ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0) continue;
        ++m_nReads;
        got.append(buf, static_cast<size_t>(n));
    }
    return got;
}
