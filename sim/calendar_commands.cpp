// The clock, its date format and the slave address.
#include "protocol/address_lines.h"
#include "protocol/calendar_lines.h"
#include "sim/set_commands.h"

namespace {

// In the order of ClockField.
constexpr int CSwitcherClock::*kClockFields[] = {
    &CSwitcherClock::nYear, &CSwitcherClock::nMonth,  &CSwitcherClock::nDay,
    &CSwitcherClock::nHour, &CSwitcherClock::nMinute, &CSwitcherClock::nSecond,
};

}  // namespace

bool SetClockField(std::string_view body, CSwitcherState& state) {
    auto setting = ParseClockCommand(body);
    if (!setting) return false;
    state.m_clock.*kClockFields[static_cast<int>(setting->field)] = setting->nValue;
    return true;
}

bool Adjust30Sec(std::string_view body, CSwitcherState& state) {
    if (!ParseAdjust30SecCommand(body)) return false;
    // Seconds go to 00, rounding up to the next minute from 30 on; the date
    // is left alone.
    CSwitcherClock& clock = state.m_clock;
    if (clock.nSecond >= 30 && ++clock.nMinute == 60) {
        clock.nMinute = 0;
        clock.nHour = (clock.nHour + 1) % 24;
    }
    clock.nSecond = 0;
    return true;
}

bool SetDateFormat(std::string_view body, CSwitcherState& state) {
    auto format = ParseDateFormatCommand(body);
    if (!format) return false;
    state.m_tables.m_nDateFormat = *format;
    return true;
}

bool SetSlaveAddress(std::string_view body, CSwitcherState& state) {
    auto address = ParseSlaveAddressCommand(body);
    if (!address) return false;
    state.m_nAddress = *address;
    return true;
}
