// The switcher's settings as one value that can be copied: the program keeps
// one (the settings model's g_ tables are its fields), a load reads into a copy
// and commits it only when the whole file read cleanly, a compare reads the
// switcher into a copy, and the virtual switcher keeps its own.
#pragma once

#include <array>
#include <span>
#include <string>

#include "protocol/table_shapes.h"

struct CSettingsTables {
    InputTable m_nInTitleDisp{};                       // 0 OFF, 1 ON
    OutputTable m_nOutTitleDisp{};                     // 0 OFF, 1 ON
    InputTable m_nTitlePosition{};                     // 0 Top, 1 Bottom
    InputTable m_nInCalendarDisp{};                    // 0 OFF, 1 ON
    OutputTable m_nOutCalendarDisp{};                  // 0 OFF, 1 ON
    std::array<InputTable, kPatterns> m_nSeqTime{};    // [pattern][channel] 0 = SKIP
    std::array<OutputRow, kPatternRows> m_nPattern{};  // [row][output] source code
    int m_nCurMemory = 0;                              // row switched now: 0 = direct, 1..64
    int m_nDateFormat = 0;                             // 0 Y.M.D, 1 M-D-Y, 2 D/M/Y
    int m_nModel = 0;                                  // 0 = 32 inputs, 1 = 64 inputs
    std::array<std::string, kMaxInputs> m_strTitle{};  // Shift_JIS bytes, "" = none

    bool operator==(const CSettingsTables&) const = default;
};

// Row 0 of m_nPattern is the outputs as switched directly ("None"); row m is
// memory m (01..64). No settings file holds row 0 or the current memory.
inline constexpr int kDirectRow = 0;

// Number of input channels in use: 32 or 64.
inline int InputChannels(const CSettingsTables& tables) {
    return tables.m_nModel * 32 + 32;
}

// Memories 01..64, the rows a settings file holds, in order.
std::span<OutputRow, kPatterns> MemoryRows(CSettingsTables& tables);
std::span<const OutputRow, kPatterns> MemoryRows(const CSettingsTables& tables);

// A switcher fresh from the factory, and the program after start or File New:
// every sequence time 3, every display switch 1 (ON, titles at the bottom),
// every row routing input n to output n, no titles, date format 0, row 0
// switched.
CSettingsTables DefaultSettingsTables(int nModel);
