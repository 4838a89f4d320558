#include "sim/switcher_state.h"

CSwitcherState DefaultSwitcherState(int nModel, int nAddress) {
    CSwitcherState state;
    state.m_tables = DefaultSettingsTables(nModel);
    state.m_nAddress = nAddress;
    return state;
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
