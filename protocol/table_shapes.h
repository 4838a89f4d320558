// The shapes of the switcher's tables as the command lines carry them. Input
// tables always hold 64 entries and output rows 32; a line carries the first
// 32 or 64 input entries, as the switcher's model has inputs.
#pragma once

#include <array>

inline constexpr int kMaxInputs = 64;
inline constexpr int kOutputs = 32;
inline constexpr int kPatterns = 64;        // auto-sequence patterns and memories 01..64
inline constexpr int kPatternRows = 65;     // row 0 = direct switching, rows 1..64 = memories
inline constexpr int kMaxSeqTime = 60;      // 0 = SKIP, 1..60 seconds
inline constexpr int kTitleChars = 16;      // full-width characters of a channel title
inline constexpr int kSlaveAddresses = 32;  // "00".."31"

using InputTable = std::array<int, kMaxInputs>;
using OutputTable = std::array<int, kOutputs>;
using OutputRow = std::array<int, kOutputs>;
