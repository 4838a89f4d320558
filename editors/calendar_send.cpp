#include "editors/calendar_send.h"

#include "link/transmitter.h"
#include "protocol/calendar_lines.h"

namespace {

constexpr int kFirstYear = 2000;
constexpr int kYears = 100;  // the Year list: "00".."99"

static_assert(static_cast<int>(CalendarItem::kSecond) == static_cast<int>(ClockField::kSecond),
              "the date and time buttons come in the order of the clock fields");

}  // namespace

CCalendarSelection CalendarSelectionFor(const std::tm& local) {
    const int year = local.tm_year + 1900 - kFirstYear;
    return {year >= 0 && year < kYears ? year : -1,
            local.tm_mon,
            local.tm_mday - 1,
            local.tm_hour,
            local.tm_min,
            local.tm_sec};
}

std::string CalendarLine(CalendarItem item, int nIndex) {
    switch (item) {
        case CalendarItem::kAdjust30Sec:
            return FormatAdjust30SecLine();
        case CalendarItem::kDisplay:
            return FormatDateFormatLine(nIndex);
        default: {
            // Each list starts at the lowest value of its field ("00", or "1").
            const auto field = static_cast<ClockField>(item);
            return FormatClockLine(field, nIndex + ClockFieldRange(field).nLow);
        }
    }
}

CStepResult SendCalendarItem(CalendarItem item, int nIndex) {
    const std::string line = CalendarLine(item, nIndex);
    if (line.empty()) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(line);
    return {};
}

std::tm CalendarTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}
