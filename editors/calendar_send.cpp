#include "editors/calendar_send.h"

#include "editors/two_digits.h"
#include "link/transmitter.h"

namespace {

constexpr int kFirstYear = 2000;
constexpr int kYears = 100;  // the Year list: "00".."99"

struct CItemFormat {
    const char* tag;
    int nEntries;  // entries of the item's list
    int nOffset;   // value sent = index + offset
};

// In the order of CalendarItem, up to kSecond.
constexpr CItemFormat kTwoDigitItems[] = {
    {"DSY", kYears, 0}, {"DSM", 12, 1}, {"DSD", 31, 1},
    {"TSH", 24, 0},     {"TSM", 60, 0}, {"TSS", 60, 0},
};

std::string TwoDigitLine(const CItemFormat& format, int nIndex) {
    if (nIndex < 0 || nIndex >= format.nEntries) return "";
    return format.tag + TwoDigits(nIndex + format.nOffset) + "\r\n";
}

std::string DisplayLine(int nDateFormat) {
    static constexpr char kLetters[] = "YMD";
    if (nDateFormat < 0 || nDateFormat > 2) return "";
    return std::string("TSD") + kLetters[nDateFormat] + "\r\n";
}

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
            return "TSA\r\n";
        case CalendarItem::kDisplay:
            return DisplayLine(nIndex);
        default:
            return TwoDigitLine(kTwoDigitItems[static_cast<int>(item)], nIndex);
    }
}

bool SendCalendarItem(CalendarItem item, int nIndex) {
    const std::string line = CalendarLine(item, nIndex);
    return !line.empty() && SendCommand(line) == 0;
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
