#include "tests/support/videohub_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// A block larger than this is a server fault, not something to wait out.
constexpr std::size_t kMaxBlockBytes = 1 << 20;

Clock::time_point Deadline(int timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for the socket to be ready; false on timeout.
bool WaitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int n = ::poll(&p, 1, timeoutMs);
        if (n >= 0) return n > 0;
        if (errno != EINTR) return false;
    }
}

int ConnectOne(const addrinfo* ai, int timeoutMs, std::string& error) {
    const int fd =
        ::socket(ai->ai_family, ai->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, ai->ai_protocol);
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    if (::connect(fd, ai->ai_addr, ai->ai_addrlen) != 0 && errno != EINPROGRESS) {
        error = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    int soError = 0;
    socklen_t len = sizeof soError;
    if (!WaitFor(fd, POLLOUT, timeoutMs)) {
        error = "connect timed out";
        soError = -1;
    } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
        error = std::strerror(soError != 0 ? soError : errno);
    }
    if (soError != 0) {
        ::close(fd);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

std::string_view StripCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::optional<int> ParseIndex(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// "N rest": the port number and the rest of the line (which may be empty).
std::optional<std::pair<int, std::string>> SplitIndexed(const std::string& line) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) return std::nullopt;
    const auto index = ParseIndex(std::string_view(line).substr(0, space));
    if (!index) return std::nullopt;
    return std::make_pair(*index, line.substr(space + 1));
}

// "Key: value".
std::optional<std::pair<std::string, std::string>> SplitField(const std::string& line) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos || colon == 0) return std::nullopt;
    return std::make_pair(line.substr(0, colon), line.substr(colon + 2));
}

}  // namespace

CVideohubClient::CVideohubClient(const std::string& host, int port, int timeoutMs) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        m_error = ::gai_strerror(rc);
        return;
    }
    const auto deadline = Deadline(timeoutMs);
    for (const addrinfo* ai = found; ai != nullptr && m_fd < 0; ai = ai->ai_next) {
        m_fd = ConnectOne(ai, MsLeft(deadline), m_error);
    }
    ::freeaddrinfo(found);
    if (m_fd >= 0) m_error.clear();
}

CVideohubClient::~CVideohubClient() {
    if (m_fd >= 0) ::close(m_fd);
}

bool CVideohubClient::Fill(int timeoutMs) {
    if (m_fd < 0 || m_closed) return false;
    if (!WaitFor(m_fd, POLLIN, timeoutMs)) return false;
    char buffer[16384];
    const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
    if (n > 0) {
        m_in.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    m_closed = true;
    m_error = n == 0 ? "the server closed the connection" : std::strerror(errno);
    return false;
}

std::optional<CPanelBlock> CVideohubClient::TakeBlock() {
    CPanelBlock block;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = m_in.find('\n', at);
        if (end == std::string::npos) return std::nullopt;
        const std::string_view line = StripCr(std::string_view(m_in).substr(at, end - at));
        at = end + 1;
        if (line.empty()) {
            // Blank lines before a header are only separators.
            if (block.header.empty()) continue;
            m_in.erase(0, at);
            return block;
        }
        if (block.header.empty()) {
            block.header = line;
        } else {
            block.lines.emplace_back(line);
        }
    }
}

std::optional<CPanelBlock> CVideohubClient::NextBlock(int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    for (;;) {
        if (auto block = TakeBlock()) {
            Apply(*block);
            return block;
        }
        if (m_in.size() > kMaxBlockBytes) {
            m_error = "a block of over " + std::to_string(kMaxBlockBytes) + " bytes";
            return std::nullopt;
        }
        if (!Fill(MsLeft(deadline))) {
            if (!m_closed) m_error = "no whole block in time";
            return std::nullopt;
        }
    }
}

std::optional<CPanelBlock> CVideohubClient::WaitForBlock(std::string_view header,
                                                            int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    while (auto block = NextBlock(MsLeft(deadline))) {
        if (block->header == header) return block;
    }
    return std::nullopt;
}

bool CVideohubClient::ReadPrelude(int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    while (!m_state.preludeEnded) {
        if (!NextBlock(MsLeft(deadline))) return false;
    }
    return true;
}

void CVideohubClient::Apply(const CPanelBlock& block) {
    const std::string& h = block.header;
    if (h == "END PRELUDE:") m_state.preludeEnded = true;
    if (h == "PROTOCOL PREAMBLE:" || h == "VIDEOHUB DEVICE:") {
        // The device block always comes whole: a device that went away
        // leaves only "Device present: false".
        if (h == "VIDEOHUB DEVICE:") m_state.device.clear();
        for (const std::string& line : block.lines) {
            const auto field = SplitField(line);
            if (!field) {
                m_state.badLines.push_back(h + " " + line);
            } else if (h == "VIDEOHUB DEVICE:") {
                m_state.device[field->first] = field->second;
            } else if (field->first == "Version") {
                m_state.protocolVersion = field->second;
            }
        }
        return;
    }
    std::map<int, std::string>* labels = h == "INPUT LABELS:"    ? &m_state.inputLabels
                                         : h == "OUTPUT LABELS:" ? &m_state.outputLabels
                                                                 : nullptr;
    const bool locks = h == "VIDEO OUTPUT LOCKS:";
    const bool routing = h == "VIDEO OUTPUT ROUTING:";
    if (labels == nullptr && !locks && !routing) return;  // blocks we don't know are skipped
    for (const std::string& line : block.lines) {
        const auto item = SplitIndexed(line);
        std::optional<int> input = routing && item ? ParseIndex(item->second) : std::nullopt;
        const bool lockValid = locks && item && item->second.size() == 1 &&
                               std::string_view("UOL").find(item->second[0]) != std::string::npos;
        if (labels != nullptr && item) {
            (*labels)[item->first] = item->second;
        } else if (lockValid) {
            m_state.outputLocks[item->first] = item->second[0];
        } else if (input) {
            m_state.outputRouting[item->first] = *input;
        } else {
            m_state.badLines.push_back(h + " " + line);
        }
    }
}

std::string CVideohubClient::Format(const CPanelBlock& block) {
    std::string text = block.header + "\n";
    for (const std::string& line : block.lines) text += line + "\n";
    return text + "\n";
}

bool CVideohubClient::SendRaw(std::string_view bytes, int timeoutMs) {
    if (m_fd < 0) return false;
    const auto deadline = Deadline(timeoutMs);
    while (!bytes.empty()) {
        const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!WaitFor(m_fd, POLLOUT, MsLeft(deadline))) {
                m_error = "the server takes no more bytes";
                return false;
            }
        } else {
            m_error = std::strerror(errno);
            return false;
        }
    }
    return true;
}

EVideohubReply CVideohubClient::Request(const CPanelBlock& block, int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    if (!SendRaw(Format(block), timeoutMs)) return EVideohubReply::closed;
    while (auto reply = NextBlock(MsLeft(deadline))) {
        if (reply->header == "ACK") return EVideohubReply::ack;
        if (reply->header == "NAK") return EVideohubReply::nak;
    }
    return m_closed ? EVideohubReply::closed : EVideohubReply::timeout;
}

EVideohubReply CVideohubClient::Route(const std::vector<std::pair<int, int>>& outputInput,
                                      int timeoutMs) {
    CPanelBlock block{"VIDEO OUTPUT ROUTING:", {}};
    for (const auto& [output, input] : outputInput) {
        block.lines.push_back(std::to_string(output) + " " + std::to_string(input));
    }
    return Request(block, timeoutMs);
}

EVideohubReply CVideohubClient::SetInputLabel(int input, const std::string& label, int timeoutMs) {
    return Request({"INPUT LABELS:", {std::to_string(input) + " " + label}}, timeoutMs);
}

EVideohubReply CVideohubClient::SetOutputLabel(int output, const std::string& label,
                                               int timeoutMs) {
    return Request({"OUTPUT LABELS:", {std::to_string(output) + " " + label}}, timeoutMs);
}

EVideohubReply CVideohubClient::SetOutputLock(int output, char lock, int timeoutMs) {
    return Request({"VIDEO OUTPUT LOCKS:", {std::to_string(output) + " " + lock}}, timeoutMs);
}

EVideohubReply CVideohubClient::RequestDump(const std::string& header, int timeoutMs) {
    return Request({header, {}}, timeoutMs);
}

EVideohubReply CVideohubClient::Ping(int timeoutMs) {
    return Request({"PING:", {}}, timeoutMs);
}

bool CVideohubClient::WaitForClose(int timeoutMs) {
    const auto deadline = Deadline(timeoutMs);
    while (!m_closed) {
        m_in.clear();  // what a dropped client was still sent does not matter
        if (!Fill(MsLeft(deadline)) && !m_closed) return false;
    }
    return true;
}
