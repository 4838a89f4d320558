#include "link/port_name.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view kTcp = "tcp://";
constexpr std::string_view kRfc2217 = "rfc2217://";

std::optional<CPortName> Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return std::nullopt;
}

bool ValidHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

std::optional<int> PortNumber(std::string_view text) {
    int port = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace

std::optional<CPortName> ParsePortName(std::string_view text, std::string* error) {
    CPortName name;
    std::string_view rest;
    if (text.starts_with(kTcp)) {
        name.kind = PortKind::kTcp;
        rest = text.substr(kTcp.size());
    } else if (text.starts_with(kRfc2217)) {
        name.kind = PortKind::kRfc2217;
        rest = text.substr(kRfc2217.size());
    } else if (text.find("://") != std::string_view::npos) {
        return Fail(error, std::string(text) + ": not a device, tcp:// or rfc2217:// address");
    } else if (text.empty()) {
        return Fail(error, "no port given");
    } else {
        name.path = text;
        return name;
    }
    const std::string form = std::string(text) + ": not of the form " +
                             std::string(name.kind == PortKind::kTcp ? kTcp : kRfc2217) +
                             "HOST:PORT";
    std::string_view host;
    std::string_view port;
    if (rest.starts_with("[")) {  // an IPv6 address
        const size_t close = rest.find(']');
        if (close == std::string_view::npos || rest.substr(close + 1, 1) != ":") {
            return Fail(error, form);
        }
        host = rest.substr(1, close - 1);
        port = rest.substr(close + 2);
        for (char c : host) {
            const bool hex =
                (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
            if (!hex && c != ':' && c != '.') return Fail(error, form);
        }
    } else {
        const size_t colon = rest.rfind(':');
        if (colon == std::string_view::npos) return Fail(error, form);
        host = rest.substr(0, colon);
        port = rest.substr(colon + 1);
        for (char c : host) {
            if (!ValidHostChar(c)) return Fail(error, form);
        }
    }
    auto number = PortNumber(port);
    if (host.empty() || !number) return Fail(error, form);
    name.host = host;
    name.nPort = *number;
    return name;
}

bool IsNetworkPort(const CPortName& name) {
    return name.kind != PortKind::kDevice;
}

std::string FormatPortName(const CPortName& name) {
    if (name.kind == PortKind::kDevice) return name.path;
    const bool v6 = name.host.find(':') != std::string::npos;
    return std::string(name.kind == PortKind::kTcp ? kTcp : kRfc2217) + (v6 ? "[" : "") +
           name.host + (v6 ? "]" : "") + ":" + std::to_string(name.nPort);
}

PortNameKind KindOfPortName(std::string_view text) {
    const auto name = ParsePortName(text);
    if (!name) return PortNameKind::kInvalid;
    switch (name->kind) {
        case PortKind::kTcp:
            return PortNameKind::kTcp;
        case PortKind::kRfc2217:
            return PortNameKind::kRfc2217;
        case PortKind::kDevice:
            break;
    }
    const bool clean = text.size() > 1 && text.starts_with('/') &&
                       std::none_of(text.begin(), text.end(), [](char c) {
                           const auto u = static_cast<unsigned char>(c);
                           return u <= 0x20 || u == 0x7f;
                       });
    return clean ? PortNameKind::kDevice : PortNameKind::kInvalid;
}
