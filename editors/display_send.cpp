#include "editors/display_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"

namespace {

// In the order of DisplaySwitch.
const CDisplaySwitchSpec kSpecs[] = {
    {"CTI", 'F', 'N', true, g_nInTitleDisp.data(), &g_nSameInTitle, "in", {"OFF", "ON"}},
    {"CTO", 'F', 'N', false, g_nOutTitleDisp.data(), &g_nSameOutTitle, "out", {"OFF", "ON"}},
    {"CPI", 'T', 'B', true, g_nTitlePosition.data(), &g_nSamePosition, "in", {"Top", "Bot."}},
    {"TSI", 'F', 'N', true, g_nInCalendarDisp.data(), &g_nSameInCalendar, "in", {"OFF", "ON"}},
    {"TSO", 'F', 'N', false, g_nOutCalendarDisp.data(), &g_nSameOutCalendar, "out", {"OFF", "ON"}},
};

void SendSwitch(DisplaySwitch which) {
    SendCommand(DisplaySwitchLine(which));
}

}  // namespace

const CDisplaySwitchSpec& DisplaySwitchSpec(DisplaySwitch which) {
    return kSpecs[static_cast<int>(which)];
}

int DisplaySwitchCount(DisplaySwitch which) {
    return DisplaySwitchSpec(which).bInputSide ? InputChannelCount() : kOutputs;
}

std::string FormatDisplaySwitchLine(const char* tag, const int* table, int nCount, char chOff,
                                    char chOn) {
    std::string line = tag;
    for (int i = 0; i < nCount; ++i) line += table[i] == 0 ? chOff : chOn;
    line += "\r\n";
    return line;
}

std::string DisplaySwitchLine(DisplaySwitch which) {
    const CDisplaySwitchSpec& spec = DisplaySwitchSpec(which);
    return FormatDisplaySwitchLine(spec.tag, spec.pTable, DisplaySwitchCount(which), spec.chOff,
                                   spec.chOn);
}

void SendInTitleDisp() {
    SendSwitch(DisplaySwitch::kInTitle);
}
void SendOutTitleDisp() {
    SendSwitch(DisplaySwitch::kOutTitle);
}
void SendTitlePositions() {
    SendSwitch(DisplaySwitch::kTitlePosition);
}
void SendInCalendarDisp() {
    SendSwitch(DisplaySwitch::kInCalendar);
}
void SendOutCalendarDisp() {
    SendSwitch(DisplaySwitch::kOutCalendar);
}
