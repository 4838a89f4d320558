// What may name a port: a device path, or a serial device server on the
// network as tcp://HOST:PORT (raw bytes) or rfc2217://HOST:PORT (Telnet with
// the COM port option). Checked where a user types one, before it is kept.
#pragma once

#include <string_view>

enum class PortNameKind { kDevice, kTcp, kRfc2217, kInvalid };

// kDevice for an absolute path without blanks or control characters; kTcp or
// kRfc2217 for its scheme followed by a host (a name, an IPv4 address or an
// IPv6 address in brackets) and a port 1..65535; kInvalid for anything else.
PortNameKind KindOfPortName(std::string_view text);
