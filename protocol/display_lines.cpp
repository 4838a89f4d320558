#include "protocol/display_lines.h"

#include <algorithm>
#include <iterator>

#include "protocol/fields.h"

namespace {

constexpr std::size_t kTagLength = 3;

std::optional<InputTable> Parse(DisplaySwitch which, std::string_view body, int nInputs,
                                FieldRule rule) {
    const CSwitchLineFormat& format = SwitchLineFormat(which);
    const auto count = static_cast<std::size_t>(SwitchEntries(which, nInputs));
    if (!body.starts_with(format.tag) || !FitsLayout(body, kTagLength + count, rule)) {
        return std::nullopt;
    }
    InputTable entries{};
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<int> flag =
            FlagValue(body[kTagLength + i], format.chOff, format.chOn, rule);
        if (!flag) return std::nullopt;
        entries[i] = *flag;
    }
    return entries;
}

}  // namespace

std::optional<DisplaySwitch> DisplaySwitchOfTag(std::string_view body) {
    for (int i = 0; i < static_cast<int>(std::size(kSwitchLineFormats)); ++i) {
        if (body.starts_with(kSwitchLineFormats[i].tag)) return static_cast<DisplaySwitch>(i);
    }
    return std::nullopt;
}

int SwitchEntries(DisplaySwitch which, int nInputs) {
    if (!SwitchLineFormat(which).bInputSide) return kOutputs;
    return std::clamp(nInputs, 0, kMaxInputs);
}

std::string FormatDisplaySwitchLine(DisplaySwitch which, std::span<const int> table, int nInputs) {
    const CSwitchLineFormat& format = SwitchLineFormat(which);
    const auto count =
        std::min(static_cast<std::size_t>(SwitchEntries(which, nInputs)), table.size());
    std::string line = format.tag;
    for (std::size_t i = 0; i < count; ++i) line += table[i] == 0 ? format.chOff : format.chOn;
    line += "\r\n";
    return line;
}

std::optional<InputTable> ParseDisplaySwitchCommand(DisplaySwitch which, std::string_view body,
                                                    int nInputs) {
    return Parse(which, body, nInputs, FieldRule::kStrict);
}

std::optional<InputTable> ParseDisplaySwitchData(DisplaySwitch which, std::string_view body,
                                                 int nInputs) {
    return Parse(which, body, nInputs, FieldRule::kLenient);
}
