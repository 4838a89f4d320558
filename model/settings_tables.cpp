#include "model/settings_tables.h"

#include <numeric>

std::span<OutputRow, kPatterns> MemoryRows(CSettingsTables& tables) {
    return std::span(tables.m_nPattern).subspan<1, kPatterns>();
}

std::span<const OutputRow, kPatterns> MemoryRows(const CSettingsTables& tables) {
    return std::span(tables.m_nPattern).subspan<1, kPatterns>();
}

CSettingsTables DefaultSettingsTables(int nModel) {
    CSettingsTables t;
    t.m_nInTitleDisp.fill(1);
    t.m_nOutTitleDisp.fill(1);
    t.m_nTitlePosition.fill(1);
    t.m_nInCalendarDisp.fill(1);
    t.m_nOutCalendarDisp.fill(1);
    for (auto& pattern : t.m_nSeqTime) pattern.fill(3);
    for (auto& row : t.m_nPattern) std::iota(row.begin(), row.end(), 0);
    t.m_nModel = nModel ? 1 : 0;
    return t;
}
