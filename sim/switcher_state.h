// Everything a virtual switcher holds: its settings (the tables a settings
// file carries, the direct switching row and the recalled memory), its clock
// and its slave address. Kept apart from the program's settings so that a
// switcher can run on its own thread beside the program.
#pragma once

#include <span>

#include "model/settings_tables.h"
#include "protocol/display_lines.h"

// The clock as the last DSY..TSS commands set it; it does not run.
struct CSwitcherClock {
    int nYear = 0;  // 00..99
    int nMonth = 1;
    int nDay = 1;
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;

    bool operator==(const CSwitcherClock&) const = default;
};

struct CSwitcherState {
    // m_nModel is the switcher's model; m_nCurMemory 0 = none recalled.
    CSettingsTables m_tables;
    CSwitcherClock m_clock;
    int m_nAddress = 0;  // own slave address 00..31

    int Inputs() const { return m_tables.m_nModel ? 64 : 32; }
    bool operator==(const CSwitcherState&) const = default;
};

// A switcher fresh from the factory: the program's default settings.
CSwitcherState DefaultSwitcherState(int nModel, int nAddress);

// The table of one display switch.
std::span<int> SwitchTable(DisplaySwitch which, CSettingsTables& tables);
std::span<const int> SwitchTable(DisplaySwitch which, const CSettingsTables& tables);
