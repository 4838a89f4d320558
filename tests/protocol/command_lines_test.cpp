// The lines the program sends, from the examples of the switcher's manual.
#include <gtest/gtest.h>

#include "protocol/address_lines.h"
#include "protocol/calendar_lines.h"
#include "protocol/display_lines.h"
#include "protocol/read_lines.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/title_lines.h"
#include "tests/protocol/protocol_lines.h"

namespace {

TEST(CommandLinesTest, AutoSequence) {
    InputTable times;
    times.fill(3);
    times[0] = 5;
    times[1] = 0;  // SKIP
    const std::string line = FormatSeqPatternLine(1, times, 32);
    EXPECT_EQ(line, "AST020500" + Repeat("03", 30) + "\r\n");
    EXPECT_EQ(line.size(), 71u);
    EXPECT_EQ(FormatSeqPatternLine(63, times, 64).size(), 135u);
}

TEST(CommandLinesTest, TimesTheListsCannotOfferAreClampedNotWrapped) {
    InputTable times{};
    times[0] = 75;
    times[1] = 100;  // would wrap to "00" = SKIP
    EXPECT_EQ(FormatSeqPatternLine(1, times, 32), "AST026060" + Repeat("00", 30) + "\r\n");
    times.fill(0);
    times[0] = -4;
    EXPECT_TRUE(IsAllSkip(times, 32));
}

TEST(CommandLinesTest, OutputSwitching) {
    EXPECT_EQ(FormatOutputsLine(IdentityRow(), 32), "OT" + IdentitySources() + "\r\n");
    EXPECT_EQ(FormatMemoryPatternLine(5, IdentityRow(), 64), "TP05" + IdentitySources() + "\r\n");
    EXPECT_EQ(FormatMemoryRecallLine(5), "OTP05\r\n");
    OutputRow row = IdentityRow();
    row[0] = 32;  // A01 on the 32-input model, I33 on the 64-input one
    row[1] = 95;  // the last code of the 32-input model
    EXPECT_EQ(FormatOutputsLine(row, 32).substr(2, 6), "A01A64");
    EXPECT_EQ(FormatOutputsLine(row, 64).substr(2, 6), "I33A32");
}

TEST(CommandLinesTest, Title) {
    JisCodes codes;
    codes.fill(kFullWidthSpaceJis);
    codes[0] = 0x2422;  // あ
    EXPECT_EQ(FormatTitleLine(0, codes), "CA012422" + Repeat("2121", 15) + "\r\n");
    EXPECT_EQ(FormatTitleTextLine(63, "\x82\xA0"), "CA642422" + Repeat("2121", 15) + "\r\n");
    // A half-width character ends a stored title: it has no code of its own.
    EXPECT_EQ(FormatTitleTextLine(8,
                                  "\x82\xA0"
                                  "AB\x82\xA0"),
              "CA092422" + Repeat("2121", 15) + "\r\n");
}

TEST(CommandLinesTest, DisplaySwitches) {
    InputTable entries;
    entries.fill(1);
    entries[0] = entries[1] = 0;
    EXPECT_EQ(FormatDisplaySwitchLine(DisplaySwitch::kInTitle, entries, 32),
              "CTIFF" + Repeat("N", 30) + "\r\n");
    EXPECT_EQ(FormatDisplaySwitchLine(DisplaySwitch::kTitlePosition, entries, 64),
              "CPITT" + Repeat("B", 62) + "\r\n");
    EXPECT_EQ(FormatDisplaySwitchLine(DisplaySwitch::kOutCalendar, entries, 64).size(), 37u);
}

TEST(CommandLinesTest, CalendarAndSlaveAddress) {
    EXPECT_EQ(FormatClockLine(ClockField::kYear, 9), "DSY09\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kMonth, 3), "DSM03\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kDay, 9), "DSD09\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kHour, 7), "TSH07\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kMinute, 5), "TSM05\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kSecond, 30), "TSS30\r\n");
    EXPECT_EQ(FormatClockLine(ClockField::kMonth, 0), "");
    EXPECT_EQ(FormatClockLine(ClockField::kHour, 24), "");
    EXPECT_EQ(FormatAdjust30SecLine(), "TSA\r\n");
    EXPECT_EQ(FormatDateFormatLine(2), "TSDD\r\n");
    EXPECT_EQ(FormatDateFormatLine(3), "");
    EXPECT_EQ(FormatSlaveAddressLine(5), "SA05\r\n");
    EXPECT_EQ(FormatSlaveAddressLine(32), "");
}

TEST(CommandLinesTest, ReadCommands) {
    const std::pair<CReadRequest, const char*> reads[] = {
        {{DataLine::kSeqPattern, 1}, "RAST01\r\n"}, {{DataLine::kMemoryPattern, 64}, "RTP64\r\n"},
        {{DataLine::kTitlePositions}, "RCPI\r\n"},  {{DataLine::kInTitleDisp}, "RCTI\r\n"},
        {{DataLine::kOutTitleDisp}, "RCTO\r\n"},    {{DataLine::kOutputs}, "ROT\r\n"},
        {{DataLine::kCurMemory}, "ROTP\r\n"},       {{DataLine::kInCalendarDisp}, "RTSI\r\n"},
        {{DataLine::kOutCalendarDisp}, "RTSO\r\n"}, {{DataLine::kDateFormat}, "RTSD\r\n"},
        {{DataLine::kTitle, 32}, "RCA32\r\n"},
    };
    for (const auto& [request, line] : reads) EXPECT_EQ(FormatReadCommand(request), line);
}

}  // namespace
