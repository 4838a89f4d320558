// The calendar editor's eight lines: the switcher's date and time, the 30
// second adjustment and the date display format.
#pragma once

#include <ctime>
#include <string>

#include "editors/send_step.h"

enum class CalendarItem { kYear, kMonth, kDay, kHour, kMinute, kSecond, kAdjust30Sec, kDisplay };

// The selections of the calendar lists for a local time; year = -1 when the
// year lies outside 2000..2099 (the Year list then has no selection).
struct CCalendarSelection {
    int nYear;   // index = year - 2000
    int nMonth;  // index = month - 1
    int nDay;    // index = day - 1
    int nHour;
    int nMinute;
    int nSecond;
};
CCalendarSelection CalendarSelectionFor(const std::tm& local);

// A local time from its calendar fields (month 1..12, as people write it).
std::tm CalendarTime(int year, int month, int day, int hour, int minute, int second);

// The line of one Set button from its list's selected index (DSY index, DSM
// index + 1, DSD index + 1, TSH, TSM, TSS index; TSA takes none; TSD takes the
// date format 0..2 as 'Y', 'M', 'D'). Empty when the index is out of its list
// (a year outside 2000..2099 sends nothing).
std::string CalendarLine(CalendarItem item, int nIndex);

// Sends CalendarLine(item, nIndex) unless it is empty (kNoSuchItem).
CStepResult SendCalendarItem(CalendarItem item, int nIndex);
