#include "editors/display_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"

namespace {

// The cell prefix follows the side; only the title position has its own texts.
constexpr CDisplaySwitchSpec Spec(DisplaySwitch which, int* table, int* same, bool bPosition) {
    const bool bInput = SwitchLineFormat(which).bInputSide;
    return {bInput,
            table,
            same,
            bInput ? "in" : "out",
            {bPosition ? "Top" : "OFF", bPosition ? "Bot." : "ON"}};
}

// In the order of DisplaySwitch.
constexpr CDisplaySwitchSpec kSpecs[] = {
    Spec(DisplaySwitch::kInTitle, g_nInTitleDisp.data(), &g_nSameInTitle, false),
    Spec(DisplaySwitch::kOutTitle, g_nOutTitleDisp.data(), &g_nSameOutTitle, false),
    Spec(DisplaySwitch::kTitlePosition, g_nTitlePosition.data(), &g_nSamePosition, true),
    Spec(DisplaySwitch::kInCalendar, g_nInCalendarDisp.data(), &g_nSameInCalendar, false),
    Spec(DisplaySwitch::kOutCalendar, g_nOutCalendarDisp.data(), &g_nSameOutCalendar, false),
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
