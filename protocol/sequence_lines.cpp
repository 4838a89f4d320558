#include "protocol/sequence_lines.h"

#include <algorithm>

#include "protocol/fields.h"

namespace {

constexpr std::string_view kTag = "AST";
constexpr std::size_t kFirstTime = 5;

// A time the lists cannot offer (only a hand-edited model holds one) goes out
// as the nearest valid time rather than wrapping into another field value.
int TimeOnWire(int time) {
    return std::clamp(time, 0, kMaxSeqTime);
}

int ChannelsInUse(int nInputs) {
    return std::clamp(nInputs, 0, kMaxInputs);
}

std::optional<CSeqPattern> Parse(std::string_view body, int nInputs, FieldRule rule) {
    const int count = ChannelsInUse(nInputs);
    if (!body.starts_with(kTag) || !FitsLayout(body, kFirstTime + 2 * count, rule)) {
        return std::nullopt;
    }
    CSeqPattern parsed;
    const std::optional<int> pattern = NumberField(body, kTag.size(), 1, kPatterns);
    if (!pattern) return std::nullopt;
    parsed.nPattern = *pattern - 1;
    for (int c = 0; c < count; ++c) {
        const std::optional<int> time = NumberField(body, kFirstTime + 2 * c, 0, kMaxSeqTime);
        if (!time) return std::nullopt;
        parsed.times[c] = *time;
    }
    return parsed;
}

}  // namespace

std::string FormatSeqPatternLine(int nPattern, const InputTable& times, int nInputs) {
    const int count = ChannelsInUse(nInputs);
    std::string line(kTag);
    line.reserve(kFirstTime + 2 + 2 * static_cast<std::size_t>(count));
    AppendTwoDigits(line, nPattern + 1);
    for (int c = 0; c < count; ++c) AppendTwoDigits(line, TimeOnWire(times[c]));
    line += "\r\n";
    return line;
}

bool IsAllSkip(const InputTable& times, int nInputs) {
    const int count = ChannelsInUse(nInputs);
    return std::none_of(times.begin(), times.begin() + count,
                        [](int time) { return TimeOnWire(time) != 0; });
}

std::optional<CSeqPattern> ParseSeqPatternCommand(std::string_view body, int nInputs) {
    return Parse(body, nInputs, FieldRule::kStrict);
}

std::optional<CSeqPattern> ParseSeqPatternData(std::string_view body, int nInputs) {
    return Parse(body, nInputs, FieldRule::kLenient);
}
