#include "videohub/request_lines.h"

namespace {

// "NUMBER REST": the number, and what follows the one space (nothing when
// the line is the number alone).
std::optional<std::pair<int, std::string_view>> SplitNumber(std::string_view line, int nPorts) {
    const size_t space = line.find(' ');
    const std::optional<int> port = ParsePortNumber(line.substr(0, space), nPorts);
    if (!port) return std::nullopt;
    return std::pair{*port,
                     space == std::string_view::npos ? std::string_view{} : line.substr(space + 1)};
}

}  // namespace

std::optional<int> ParsePortNumber(std::string_view text, int nPorts) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= nPorts) return std::nullopt;
    return value;
}

std::optional<std::vector<CVideohubRoute>> ParseRouteLines(const std::vector<std::string>& lines,
                                                           int nOutputs, int nInputs) {
    std::vector<CVideohubRoute> routes;
    for (const std::string& line : lines) {
        const auto split = SplitNumber(line, nOutputs);
        if (!split) return std::nullopt;
        const std::optional<int> input = ParsePortNumber(split->second, nInputs);
        if (!input) return std::nullopt;
        routes.push_back({split->first, *input});
    }
    return routes;
}

std::optional<std::vector<CVideohubLabel>> ParseLabelLines(const std::vector<std::string>& lines,
                                                           int nPorts) {
    std::vector<CVideohubLabel> labels;
    for (const std::string& line : lines) {
        const auto split = SplitNumber(line, nPorts);
        if (!split) return std::nullopt;
        labels.push_back({split->first, std::string(split->second)});
    }
    return labels;
}

std::optional<std::vector<CVideohubLock>> ParseLockLines(const std::vector<std::string>& lines,
                                                         int nOutputs) {
    std::vector<CVideohubLock> locks;
    for (const std::string& line : lines) {
        const auto split = SplitNumber(line, nOutputs);
        if (!split || split->second.size() != 1) return std::nullopt;
        switch (split->second[0]) {
            case 'O':
                locks.push_back({split->first, LockRequest::kOwn});
                break;
            case 'U':
                locks.push_back({split->first, LockRequest::kUnlock});
                break;
            case 'F':
                locks.push_back({split->first, LockRequest::kForce});
                break;
            default:
                return std::nullopt;
        }
    }
    return locks;
}
