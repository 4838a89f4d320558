// The five display switch tables, each carried whole in one line: a tag and
// one character per channel (CTI, CTO, CPI, TSI, TSO). The switcher answers
// RCTI, RCTO, RCPI, RTSI and RTSO with the same layouts.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/table_shapes.h"

enum class DisplaySwitch { kInTitle, kOutTitle, kTitlePosition, kInCalendar, kOutCalendar };

struct CSwitchLineFormat {
    const char* tag;  // "CTI", ...
    char chOff;       // character for entry 0 ('F', or 'T' for Top)
    char chOn;        // character for any other entry ('N', or 'B' for Bottom)
    bool bInputSide;  // input channels (32 or 64 by model) or the 32 outputs
};

// In the order of DisplaySwitch.
inline constexpr CSwitchLineFormat kSwitchLineFormats[] = {
    {"CTI", 'F', 'N', true}, {"CTO", 'F', 'N', false}, {"CPI", 'T', 'B', true},
    {"TSI", 'F', 'N', true}, {"TSO", 'F', 'N', false},
};

constexpr const CSwitchLineFormat& SwitchLineFormat(DisplaySwitch which) {
    return kSwitchLineFormats[static_cast<int>(which)];
}

// The switch whose tag body starts with, if any.
std::optional<DisplaySwitch> DisplaySwitchOfTag(std::string_view body);

// Entries a line carries: nInputs for an input member, 32 for an output member.
int SwitchEntries(DisplaySwitch which, int nInputs);

// The tag, one character per entry in use, CR LF: 37 or 69 bytes. table holds
// at least SwitchEntries entries.
std::string FormatDisplaySwitchLine(DisplaySwitch which, std::span<const int> table, int nInputs);

// Body: the line without its RS-485 address and its line end; the entries as
// 0 and 1, the ones after those the line carries 0. The command must have
// exactly the layout and only the two characters; the data line may run on,
// and any character but the zero one means 1.
std::optional<InputTable> ParseDisplaySwitchCommand(DisplaySwitch which, std::string_view body,
                                                    int nInputs);
std::optional<InputTable> ParseDisplaySwitchData(DisplaySwitch which, std::string_view body,
                                                 int nInputs);
