// Every line the program formats is read back as the value it was made from,
// by the switcher's parser and, for data lines, by the program's own.
#include <gtest/gtest.h>

#include "protocol/address_lines.h"
#include "protocol/calendar_lines.h"
#include "protocol/display_lines.h"
#include "protocol/fields.h"
#include "protocol/jis_ranges.h"
#include "protocol/read_lines.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/shift_jis.h"
#include "protocol/title_lines.h"
#include "tests/protocol/protocol_lines.h"

namespace {

class RoundTripTest : public ::testing::TestWithParam<int> {
protected:
    int n = GetParam();
};

INSTANTIATE_TEST_SUITE_P(BothModels, RoundTripTest, ::testing::Values(32, 64));

// The line's text without its CR LF, as the parsers take it.
std::string Body(const std::string& line) {
    return std::string(LineBody(line));
}

TEST_P(RoundTripTest, AutoSequencePatterns) {
    for (int pattern : {0, 9, 63}) {
        CSeqPattern value{pattern, {}};
        for (int c = 0; c < n; ++c) value.times[c] = (7 * c + pattern) % (kMaxSeqTime + 1);
        const std::string body = Body(FormatSeqPatternLine(pattern, value.times, n));
        EXPECT_EQ(ParseSeqPatternCommand(body, n), value) << body;
        EXPECT_EQ(ParseSeqPatternData(body, n), value) << body;
    }
}

TEST_P(RoundTripTest, OutputsMemoriesAndRecall) {
    OutputRow mixed{};
    for (int out = 0; out < kOutputs; ++out) mixed[out] = (out * 37) % (n + kPatterns);
    OutputRow last{};
    last.fill(n + kPatterns - 1);
    for (const OutputRow& row : {IdentityRow(), mixed, last}) {
        const std::string outputs = Body(FormatOutputsLine(row, n));
        EXPECT_EQ(ParseOutputsCommand(outputs, n), row) << outputs;
        EXPECT_EQ(ParseOutputsData(outputs, n), row) << outputs;
        for (int memory : {1, 64}) {
            const CMemoryPattern value{memory, row};
            const std::string body = Body(FormatMemoryPatternLine(memory, row, n));
            EXPECT_EQ(ParseMemoryPatternCommand(body, n), value) << body;
            EXPECT_EQ(ParseMemoryPatternData(body, n), value) << body;
        }
    }
    for (int memory = 0; memory <= kPatterns; ++memory) {
        const std::string body = Body(FormatMemoryRecallLine(memory));
        EXPECT_EQ(ParseMemoryRecallCommand(body), memory ? std::optional(memory) : std::nullopt);
        EXPECT_EQ(ParseCurMemoryData(body), memory);
    }
}

TEST_P(RoundTripTest, Titles) {
    // Titles of valid characters with no ideographic space at the end.
    std::string full;
    for (const CJisRange& range : JisRanges().subspan(70, 16)) {
        const int sjis = JisToShiftJis(static_cast<int>(range.last));
        full += {static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)};
    }
    const std::string titles[] = {"", "\x82\xA0", "\x8A\xBF\x81\x40\x8E\x9A", full};
    for (const std::string& title : titles) {
        const CTitleLine value{n - 1, title};
        const std::string body = Body(FormatTitleTextLine(n - 1, title));
        EXPECT_EQ(ParseTitleCommand(body, n), value) << body;
        EXPECT_EQ(ParseTitleData(body, n), value) << body;
    }
}

TEST_P(RoundTripTest, DisplaySwitches) {
    for (int i = 0; i < static_cast<int>(std::size(kSwitchLineFormats)); ++i) {
        const auto which = static_cast<DisplaySwitch>(i);
        InputTable entries{};
        const int count = SwitchEntries(which, n);
        for (int e = 0; e < count; ++e) entries[e] = (e % 3 == 1) ? 0 : 1;
        const std::string body = Body(FormatDisplaySwitchLine(which, entries, n));
        EXPECT_EQ(ParseDisplaySwitchCommand(which, body, n), entries) << body;
        EXPECT_EQ(ParseDisplaySwitchData(which, body, n), entries) << body;
    }
}

TEST_P(RoundTripTest, ReadCommandsOfTheWholeReadBack) {
    const DataLine numbered[] = {DataLine::kSeqPattern, DataLine::kMemoryPattern, DataLine::kTitle};
    for (DataLine item : numbered) {
        const int highest = item == DataLine::kTitle ? n : kPatterns;
        for (int number = 1; number <= highest; ++number) {
            const CReadRequest request{item, number};
            EXPECT_EQ(ParseReadCommand(Body(FormatReadCommand(request)), n), request);
        }
    }
    for (int i = 0; i <= static_cast<int>(DataLine::kDateFormat); ++i) {
        const CReadRequest request{static_cast<DataLine>(i)};
        if (IsNumberedDataLine(request.item)) continue;
        EXPECT_EQ(ParseReadCommand(Body(FormatReadCommand(request)), n), request);
    }
}

TEST(RoundTrip, ClockDateFormatAndSlaveAddress) {
    for (int i = 0; i <= static_cast<int>(ClockField::kSecond); ++i) {
        const auto field = static_cast<ClockField>(i);
        const CClockRange range = ClockFieldRange(field);
        for (int value = range.nLow; value <= range.nHigh; ++value) {
            const CClockSetting setting{field, value};
            EXPECT_EQ(ParseClockCommand(Body(FormatClockLine(field, value))), setting);
        }
    }
    EXPECT_TRUE(ParseAdjust30SecCommand(Body(FormatAdjust30SecLine())));
    for (int format = 0; format <= 2; ++format) {
        EXPECT_EQ(ParseDateFormatCommand(Body(FormatDateFormatLine(format))), format);
        EXPECT_EQ(ParseDateFormatData(Body(FormatDateFormatLine(format))), format);
    }
    for (int address = 0; address < kSlaveAddresses; ++address) {
        EXPECT_EQ(ParseSlaveAddressCommand(Body(FormatSlaveAddressLine(address))), address);
    }
}

}  // namespace
