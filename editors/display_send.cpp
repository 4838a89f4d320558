#include "editors/display_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"

namespace {

constexpr bool IsInputSide(DisplaySwitch which) {
    return SwitchLineFormat(which).bInputSide;
}

// In the order of DisplaySwitch.
constexpr CDisplaySwitchSpec kSpecs[] = {
    {IsInputSide(DisplaySwitch::kInTitle),
     g_nInTitleDisp.data(),
     &g_nSameInTitle,
     "in",
     {"OFF", "ON"}},
    {IsInputSide(DisplaySwitch::kOutTitle),
     g_nOutTitleDisp.data(),
     &g_nSameOutTitle,
     "out",
     {"OFF", "ON"}},
    {IsInputSide(DisplaySwitch::kTitlePosition),
     g_nTitlePosition.data(),
     &g_nSamePosition,
     "in",
     {"Top", "Bot."}},
    {IsInputSide(DisplaySwitch::kInCalendar),
     g_nInCalendarDisp.data(),
     &g_nSameInCalendar,
     "in",
     {"OFF", "ON"}},
    {IsInputSide(DisplaySwitch::kOutCalendar),
     g_nOutCalendarDisp.data(),
     &g_nSameOutCalendar,
     "out",
     {"OFF", "ON"}},
};

}  // namespace

const CDisplaySwitchSpec& DisplaySwitchSpec(DisplaySwitch which) {
    return kSpecs[static_cast<int>(which)];
}

int DisplaySwitchCount(DisplaySwitch which) {
    return SwitchEntries(which, InputChannelCount());
}

std::string DisplaySwitchLine(DisplaySwitch which) {
    const CDisplaySwitchSpec& spec = DisplaySwitchSpec(which);
    const std::size_t entries = spec.bInputSide ? kMaxInputs : kOutputs;
    return FormatDisplaySwitchLine(which, {spec.pTable, entries}, InputChannelCount());
}

void SendDisplaySwitch(DisplaySwitch which) {
    SendCommand(DisplaySwitchLine(which));
}

void SendInTitleDisp() {
    SendDisplaySwitch(DisplaySwitch::kInTitle);
}
void SendOutTitleDisp() {
    SendDisplaySwitch(DisplaySwitch::kOutTitle);
}
void SendTitlePositions() {
    SendDisplaySwitch(DisplaySwitch::kTitlePosition);
}
void SendInCalendarDisp() {
    SendDisplaySwitch(DisplaySwitch::kInCalendar);
}
void SendOutCalendarDisp() {
    SendDisplaySwitch(DisplaySwitch::kOutCalendar);
}
