// The part of the settings model that a settings file holds, as one value that
// can be copied: a load reads into a copy and commits it only when the whole
// file read cleanly. The virtual switcher keeps its own state in one too.
#pragma once

#include <array>
#include <string>

#include "protocol/table_shapes.h"

struct CSettingsTables {
    InputTable m_nInTitleDisp{};
    OutputTable m_nOutTitleDisp{};
    InputTable m_nTitlePosition{};
    InputTable m_nInCalendarDisp{};
    OutputTable m_nOutCalendarDisp{};
    std::array<InputTable, kPatterns> m_nSeqTime{};
    std::array<OutputRow, kPatterns> m_nMemoryRows{};  // g_nPattern rows 1..64
    int m_nDateFormat = 0;
    int m_nModel = 0;
    std::array<std::string, kMaxInputs> m_strTitle{};

    bool operator==(const CSettingsTables&) const = default;
};
