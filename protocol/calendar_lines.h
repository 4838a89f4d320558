// The switcher's clock and date display: DSY, DSM, DSD, TSH, TSM, TSS (one
// two-digit value each), TSA (the 30 second adjustment) and TSD (the date
// format as a letter). The switcher answers RTSD with the TSD layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class ClockField { kYear, kMonth, kDay, kHour, kMinute, kSecond };

struct CClockSetting {
    ClockField field = ClockField::kYear;
    int nValue = 0;

    bool operator==(const CClockSetting&) const = default;
};

// The values a field takes: year 00..99, month 1..12, day 1..31, hour 0..23,
// minute and second 0..59.
struct CClockRange {
    int nLow;
    int nHigh;
};
CClockRange ClockFieldRange(ClockField field);

// The tag and the value as two digits, CR LF: 7 bytes. Empty for a value
// outside the field's range.
std::string FormatClockLine(ClockField field, int nValue);
// "TSA" and CR LF.
std::string FormatAdjust30SecLine();
// "TSD" and 'Y' (0, year.month.day), 'M' (1, month-day-year) or 'D' (2,
// day/month/year), CR LF. Empty for any other format.
std::string FormatDateFormatLine(int nFormat);

// Body: the line without its RS-485 address and its line end. Commands must
// have exactly their layout and a value in range.
std::optional<CClockSetting> ParseClockCommand(std::string_view body);
bool ParseAdjust30SecCommand(std::string_view body);
std::optional<int> ParseDateFormatCommand(std::string_view body);
// The data line may run on; 'Y' is 0, 'M' 1 and any other character 2.
std::optional<int> ParseDateFormatData(std::string_view body);
