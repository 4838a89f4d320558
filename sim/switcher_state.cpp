#include "sim/switcher_state.h"

#include <numeric>

namespace {

OutputRow IdentityRow() {
    OutputRow row{};
    std::iota(row.begin(), row.end(), 0);
    return row;
}

}  // namespace

CSwitcherState DefaultSwitcherState(int nModel, int nAddress) {
    CSwitcherState state;
    CSettingsTables& t = state.m_tables;
    t.m_nInTitleDisp.fill(1);
    t.m_nOutTitleDisp.fill(1);
    t.m_nTitlePosition.fill(1);
    t.m_nInCalendarDisp.fill(1);
    t.m_nOutCalendarDisp.fill(1);
    for (auto& pattern : t.m_nSeqTime) pattern.fill(3);
    t.m_nMemoryRows.fill(IdentityRow());
    t.m_nModel = nModel ? 1 : 0;
    state.m_nDirectRow = IdentityRow();
    state.m_nAddress = nAddress;
    return state;
}

OutputRow& MemoryRow(CSwitcherState& state, int nMemory) {
    return state.m_tables.m_nMemoryRows[static_cast<size_t>(nMemory - 1)];
}

const OutputRow& MemoryRow(const CSwitcherState& state, int nMemory) {
    return state.m_tables.m_nMemoryRows[static_cast<size_t>(nMemory - 1)];
}

std::span<int> SwitchTable(DisplaySwitch which, CSettingsTables& tables) {
    switch (which) {
        case DisplaySwitch::kInTitle:
            return tables.m_nInTitleDisp;
        case DisplaySwitch::kOutTitle:
            return tables.m_nOutTitleDisp;
        case DisplaySwitch::kTitlePosition:
            return tables.m_nTitlePosition;
        case DisplaySwitch::kInCalendar:
            return tables.m_nInCalendarDisp;
        case DisplaySwitch::kOutCalendar:
            return tables.m_nOutCalendarDisp;
    }
    return {};
}

std::span<const int> SwitchTable(DisplaySwitch which, const CSettingsTables& tables) {
    return SwitchTable(which, const_cast<CSettingsTables&>(tables));
}
