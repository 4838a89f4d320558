// AST: one auto-sequence pattern's time for every input channel in use. The
// program sends it, and the switcher answers RAST with the same layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/table_shapes.h"

struct CSeqPattern {
    int nPattern = 0;    // index 0..63 (pattern number - 1)
    InputTable times{};  // the line's nInputs times; the entries after them 0

    bool operator==(const CSeqPattern&) const = default;
};

// "AST", the pattern number (index + 1) as two digits, nInputs times as two
// digits ("00" = SKIP), CR LF: 71 bytes for 32 channels, 135 for 64. A time
// outside 0..60 goes out clamped to 00..60.
std::string FormatSeqPatternLine(int nPattern, const InputTable& times, int nInputs);

// True when every one of the first nInputs times goes out as SKIP.
bool IsAllSkip(const InputTable& times, int nInputs);

// Body: the line without its RS-485 address and its line end. The command
// must have exactly the layout; the data line may run on past it. Both want
// a pattern 01..64 and times 00..60.
std::optional<CSeqPattern> ParseSeqPatternCommand(std::string_view body, int nInputs);
std::optional<CSeqPattern> ParseSeqPatternData(std::string_view body, int nInputs);
