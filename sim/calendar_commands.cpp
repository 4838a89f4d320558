// The clock, its date format and the slave address.
#include "sim/command_fields.h"
#include "sim/set_commands.h"

namespace {

struct CClockField {
    std::string_view tag;
    int CSwitcherClock::*pField;
    int nLow;
    int nHigh;
};

constexpr CClockField kClockFields[] = {
    {"DSY", &CSwitcherClock::nYear, 0, 99},   {"DSM", &CSwitcherClock::nMonth, 1, 12},
    {"DSD", &CSwitcherClock::nDay, 1, 31},    {"TSH", &CSwitcherClock::nHour, 0, 23},
    {"TSM", &CSwitcherClock::nMinute, 0, 59}, {"TSS", &CSwitcherClock::nSecond, 0, 59},
};

constexpr std::string_view kDateFormatLetters = "YMD";

}  // namespace

bool SetClockField(std::string_view body, CSwitcherState& state) {
    if (body.size() != 5) return false;
    for (const auto& field : kClockFields) {
        if (body.substr(0, 3) != field.tag) continue;
        int value = NumberField(body, 3, field.nLow, field.nHigh);
        if (value < 0) return false;
        state.m_clock.*field.pField = value;
        return true;
    }
    return false;
}

bool Adjust30Sec(std::string_view body, CSwitcherState& state) {
    if (body.size() != 3) return false;
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
    if (body.size() != 4) return false;
    size_t format = kDateFormatLetters.find(body[3]);
    if (format == std::string_view::npos) return false;
    state.m_tables.m_nDateFormat = static_cast<int>(format);
    return true;
}

bool SetSlaveAddress(std::string_view body, CSwitcherState& state) {
    if (body.size() != 4) return false;
    int address = NumberField(body, 2, 0, 31);
    if (address < 0) return false;
    state.m_nAddress = address;
    return true;
}
