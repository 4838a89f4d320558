#include "link/port_names.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

bool IsBlankOrControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7f;
}

bool IsPortNumber(std::string_view text) {
    int port = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, port);
    return !text.empty() && text.size() <= 5 && ec == std::errc() && ptr == end && port >= 1 &&
           port <= 65535;
}

bool IsHostName(std::string_view host) {
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
        });
    }
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

// "HOST:PORT", the port after the last colon (an IPv6 host has its own in brackets).
bool IsHostAndPort(std::string_view text) {
    const size_t colon = text.rfind(':');
    return colon != std::string_view::npos && IsHostName(text.substr(0, colon)) &&
           IsPortNumber(text.substr(colon + 1));
}

}  // namespace

PortNameKind KindOfPortName(std::string_view text) {
    if (text.starts_with('/')) {
        const bool clean =
            text.size() > 1 && std::none_of(text.begin(), text.end(), IsBlankOrControl);
        return clean ? PortNameKind::kDevice : PortNameKind::kInvalid;
    }
    for (auto [scheme, kind] : {std::pair{std::string_view("tcp://"), PortNameKind::kTcp},
                                {std::string_view("rfc2217://"), PortNameKind::kRfc2217}}) {
        if (text.starts_with(scheme)) {
            return IsHostAndPort(text.substr(scheme.size())) ? kind : PortNameKind::kInvalid;
        }
    }
    return PortNameKind::kInvalid;
}
