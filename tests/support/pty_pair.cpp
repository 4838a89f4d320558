#include "tests/support/pty_pair.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

CPtyPair::CPtyPair() {
    if (!m_pty.Open()) throw std::runtime_error(m_pty.Error());
}

void CPtyPair::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(Master(), bytes.data(), bytes.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) throw std::runtime_error("write to pty master failed");
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

std::string CPtyPair::Read(size_t count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < count) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd pfd{Master(), POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[512];
        ssize_t n = ::read(Master(), buf, std::min(sizeof buf, count - got.size()));
        if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    return got;
}

std::string CPtyPair::ReadFor(int timeoutMs) {
    return Read(1 << 20, timeoutMs);
}
