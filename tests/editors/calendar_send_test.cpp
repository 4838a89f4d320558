#include "editors/calendar_send.h"

#include "tests/editors/editors_fixture.h"

namespace {

using CalendarWireTest = WireTest;
QELVAR_WIRE_SUITE(CalendarWireTest);

TEST_P(CalendarWireTest, EveryButtonFromTheTimeOfOpening) {
    const CCalendarSelection s = CalendarSelectionFor(CalendarTime(2009, 3, 9, 7, 5, 30));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kYear, s.nYear));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kMonth, s.nMonth));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kDay, s.nDay));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kHour, s.nHour));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kMinute, s.nMinute));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kSecond, s.nSecond));
    EXPECT_TRUE(SendCalendarItem(CalendarItem::kAdjust30Sec, 0));
    for (int format = 0; format <= 2; ++format) {
        EXPECT_TRUE(SendCalendarItem(CalendarItem::kDisplay, format));
    }
    EXPECT_EQ(lines, FramedLines({"DSY09\r\n", "DSM03\r\n", "DSD09\r\n", "TSH07\r\n", "TSM05\r\n",
                                  "TSS30\r\n", "TSA\r\n", "TSDY\r\n", "TSDM\r\n", "TSDD\r\n"}));
}

using CalendarTest = EditorsTest;

TEST_F(CalendarTest, AYearOutsideTheListSendsNothing) {
    EXPECT_EQ(CalendarSelectionFor(CalendarTime(1999, 12, 31, 23, 59, 59)).nYear, -1);
    EXPECT_EQ(CalendarSelectionFor(CalendarTime(2100, 1, 1, 0, 0, 0)).nYear, -1);
    EXPECT_EQ(CalendarSelectionFor(CalendarTime(2099, 1, 1, 0, 0, 0)).nYear, 99);
    EXPECT_FALSE(SendCalendarItem(CalendarItem::kYear, -1));
    EXPECT_TRUE(lines.empty());
}

TEST_F(CalendarTest, LastEntryOfEachListAndNothingBeyond) {
    struct Last {
        CalendarItem item;
        int nIndex;
        const char* line;
    };
    const Last lists[] = {
        {CalendarItem::kYear, 99, "DSY99\r\n"},   {CalendarItem::kMonth, 11, "DSM12\r\n"},
        {CalendarItem::kDay, 30, "DSD31\r\n"},    {CalendarItem::kHour, 23, "TSH23\r\n"},
        {CalendarItem::kMinute, 59, "TSM59\r\n"}, {CalendarItem::kSecond, 59, "TSS59\r\n"},
        {CalendarItem::kDisplay, 2, "TSDD\r\n"}};
    for (const Last& last : lists) {
        EXPECT_EQ(CalendarLine(last.item, last.nIndex), last.line);
        EXPECT_EQ(CalendarLine(last.item, last.nIndex + 1), "") << last.line;
        EXPECT_EQ(CalendarLine(last.item, -1), "") << last.line;
    }
    EXPECT_EQ(CalendarLine(CalendarItem::kAdjust30Sec, 1000), "TSA\r\n");
}

}  // namespace
