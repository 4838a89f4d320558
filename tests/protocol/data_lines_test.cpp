// The data lines the switcher answers read commands with, as the program reads
// them, and how that reading differs from the switcher's reading of commands.
#include <gtest/gtest.h>

#include "protocol/calendar_lines.h"
#include "protocol/data_lines.h"
#include "protocol/display_lines.h"
#include "protocol/fields.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/title_lines.h"
#include "tests/protocol/protocol_lines.h"

namespace {

std::optional<CTitleLine> TitleOf(const std::string& line) {
    return ParseTitleData(LineBody(line), 32);
}

TEST(DataLinesTest, DateFormatLetters) {
    EXPECT_EQ(ParseDateFormatData("TSDM"), 1);
    EXPECT_EQ(ParseDateFormatData("TSDY"), 0);
    EXPECT_EQ(ParseDateFormatData("TSDD"), 2);
    EXPECT_EQ(ParseDateFormatData("TSDq"), 2);
}

TEST(DataLinesTest, TitlesDropTrailingIdeographicSpacesOnly) {
    // JIS 0x3441 0x3B7A ("漢字") then fourteen ideographic spaces, for channel 03.
    std::string spaces;
    for (int i = 0; i < 14; ++i) spaces += "2121";
    EXPECT_EQ(TitleOf("CA0334413B7A" + spaces + "\r\n"), (CTitleLine{2, "\x8a\xbf\x8e\x9a"}));

    // A space between two characters stays.
    EXPECT_EQ(TitleOf("CA04344121213B7A" + spaces.substr(4) + "\r\n"),
              (CTitleLine{3, "\x8a\xbf\x81\x40\x8e\x9a"}));

    std::string allSpaces = spaces + "21212121";
    EXPECT_EQ(TitleOf("CA05" + allSpaces + "\r\n"), (CTitleLine{4, ""}));
}

TEST(DataLinesTest, TitleEndsAtACodeWithoutShiftJisForm) {
    std::string spaces;
    for (int i = 0; i < 13; ++i) spaces += "2121";
    EXPECT_EQ(TitleOf("CA01"
                      "2422"
                      "0000"
                      "2424" +
                      spaces + "\r\n"),
              (CTitleLine{0, "\x82\xa0"}));
}

TEST(DataLinesTest, MemoryNumbersAndSourcesAsTheDeviceWritesThem) {
    EXPECT_EQ(ParseCurMemoryData("OTP07"), 7);  // the row itself, not 6
    EXPECT_EQ(ParseCurMemoryData("OTP00"), 0);  // none recalled: the direct row
    const std::string fields = "I05A05" + IdentitySources().substr(6);
    EXPECT_EQ(ParseOutputsData("OT" + fields, 32)->at(1), 36);
    EXPECT_EQ(ParseOutputsData("OT" + fields, 64)->at(1), 68);
    const auto memory = ParseMemoryPatternData("TP07" + fields, 64);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->nMemory, 7);
    EXPECT_EQ(memory->row[0], 4);
}

// Whether the switcher's command parser and the program's data parser take a
// line; only lines that have both readings.
struct CRuleCase {
    std::string body;
    int nInputs;
    bool bCommand;
    bool bData;
};

std::pair<bool, bool> Takes(const std::string& body, int n) {
    switch (*DataLineOf(body)) {
        case DataLine::kSeqPattern:
            return {!!ParseSeqPatternCommand(body, n), !!ParseSeqPatternData(body, n)};
        case DataLine::kTitle:
            return {!!ParseTitleCommand(body, n), !!ParseTitleData(body, n)};
        case DataLine::kCurMemory:
            return {!!ParseMemoryRecallCommand(body), !!ParseCurMemoryData(body)};
        case DataLine::kOutputs:
            return {!!ParseOutputsCommand(body, n), !!ParseOutputsData(body, n)};
        case DataLine::kMemoryPattern:
            return {!!ParseMemoryPatternCommand(body, n), !!ParseMemoryPatternData(body, n)};
        case DataLine::kDateFormat:
            return {!!ParseDateFormatCommand(body), !!ParseDateFormatData(body)};
        default: {
            const DisplaySwitch which = *DisplaySwitchOfTag(body);
            return {!!ParseDisplaySwitchCommand(which, body, n),
                    !!ParseDisplaySwitchData(which, body, n)};
        }
    }
}

TEST(DataLinesTest, TheSwitcherTakesOnlyTheExactLayoutTheProgramReadsMore) {
    const std::string spaces = Repeat("2121", 15);
    const CRuleCase cases[] = {
        // Both take the layout itself; neither a short line or a number out of range.
        {"AST01" + Repeat("03", 32), 32, true, true},
        {"AST01" + Repeat("03", 31), 32, false, false},
        {"CA33" + spaces + "2121", 32, false, false},
        {"CA64" + spaces + "2121", 64, true, true},
        {"CA01242a" + spaces, 32, false, false},
        {"OT" + IdentitySources().substr(3) + "I33", 32, false, false},
        {"OT" + IdentitySources().substr(3) + "I33", 64, true, true},
        {"TP00" + IdentitySources(), 32, false, false},
        {"OTP65", 32, false, false},
        {"TSD", 32, false, false},
        // A data line may run on past its layout.
        {"AST01" + Repeat("03", 32) + "xx", 32, false, true},
        {"CA01" + spaces + "2121  ", 32, false, true},
        {"OTP07x", 32, false, true},
        {"TSDYY", 32, false, true},
        // Only the program reads what the switcher never sends.
        {"CA012D21" + spaces, 32, false, true},  // NEC row 13: no JIS X 0208 character
        {"CA010000" + spaces, 32, false, true},  // ends the title
        {"OT" + std::string("B05") + IdentitySources().substr(3), 32, false, true},
        {"TP05X64" + IdentitySources().substr(3), 64, false, true},
        {"OTP00", 32, false, true},
        {"CTI" + Repeat("N", 31) + "x", 32, false, true},
        {"CTO" + Repeat("T", 32), 32, false, true},
        {"CPI" + Repeat("F", 64), 64, false, true},
        {"TSDq", 32, false, true},
    };
    for (const CRuleCase& c : cases) {
        EXPECT_EQ(Takes(c.body, c.nInputs), std::pair(c.bCommand, c.bData))
            << c.body << " of " << c.nInputs;
    }
}

}  // namespace
