// What a port's name means: a local serial device ("/dev/ttyUSB0"), a serial
// device server in raw TCP mode ("tcp://HOST:PORT") or one that speaks Telnet
// with the COM-PORT-OPTION ("rfc2217://HOST:PORT"). The profile's [Ports]
// entries, qelvarctl --port and the port the program opens all go through here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class PortKind { kDevice, kTcp, kRfc2217 };

struct CPortName {
    PortKind kind = PortKind::kDevice;
    std::string host;  // without the brackets of an IPv6 address
    int nPort = 0;     // 1..65535 for a server
    std::string path;  // the device's path; empty for a server
    bool operator==(const CPortName&) const = default;
};

// The name taken apart. A name without "SCHEME://" is a device path; a server's
// name must be SCHEME://HOST:PORT with a known scheme, a host (an IPv6 address
// in brackets) and a port 1..65535. nullopt, with why in *error, otherwise.
std::optional<CPortName> ParsePortName(std::string_view text, std::string* error = nullptr);

// Whether a name is a server's: the I/O thread connects it in the background.
bool IsNetworkPort(const CPortName& name);

// The name written back: "tcp://[::1]:2000", or the device's path.
std::string FormatPortName(const CPortName& name);

// What a name a user types names. A device must be an absolute path without
// blanks or control characters there, so that a slip ("COM1", "ttyUSB0") is
// caught before it is kept; kInvalid for that and for anything ParsePortName
// refuses.
enum class PortNameKind { kDevice, kTcp, kRfc2217, kInvalid };
PortNameKind KindOfPortName(std::string_view text);
