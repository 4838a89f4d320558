// The body lines a client sends to change routes, labels and locks. Ports
// are numbered from 0, as the protocol numbers them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CVideohubRoute {
    int nOutput = 0;
    int nInput = 0;

    bool operator==(const CVideohubRoute&) const = default;
};

struct CVideohubLabel {
    int nPort = 0;
    std::string text;  // UTF-8, may be empty

    bool operator==(const CVideohubLabel&) const = default;
};

enum class LockRequest {
    kOwn,     // "O": take the lock
    kUnlock,  // "U": give back one's own lock
    kForce,   // "F": take away anyone's lock
};

struct CVideohubLock {
    int nOutput = 0;
    LockRequest request = LockRequest::kUnlock;

    bool operator==(const CVideohubLock&) const = default;
};

// Each line "OUT IN": two decimal numbers below nOutputs and nInputs, one
// space between. Nothing at all when any line is not one.
std::optional<std::vector<CVideohubRoute>> ParseRouteLines(const std::vector<std::string>& lines,
                                                           int nOutputs, int nInputs);
// Each line "PORT TEXT": the number below nPorts, one space, the label (the
// rest of the line, which may be empty; a line of the number alone is an
// empty label too).
std::optional<std::vector<CVideohubLabel>> ParseLabelLines(const std::vector<std::string>& lines,
                                                           int nPorts);
// Each line "OUT O", "OUT U" or "OUT F".
std::optional<std::vector<CVideohubLock>> ParseLockLines(const std::vector<std::string>& lines,
                                                         int nOutputs);
// A port number: decimal digits only, below nPorts.
std::optional<int> ParsePortNumber(std::string_view text, int nPorts);
