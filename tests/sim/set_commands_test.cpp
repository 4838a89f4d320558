// The set commands on both models: what is accepted, what it changes, and the
// malformed lines that are refused with E3 and change nothing.
#include <gtest/gtest.h>

#include "sim/virtual_switcher.h"
#include "tests/sim/switcher_lines.h"

namespace {

class SetCommandsTest : public ::testing::TestWithParam<int> {
protected:
    int Inputs() const { return GetParam() ? 64 : 32; }
    CVirtualSwitcher sw{{.nModel = GetParam()}};
};

INSTANTIATE_TEST_SUITE_P(BothModels, SetCommandsTest, ::testing::Values(0, 1));

TEST_P(SetCommandsTest, EveryValidSetCommandIsAnsweredGo) {
    const int n = Inputs();
    const std::string lines[] = {
        "AST64" + Repeat("00", n - 1) + "60",
        "OT" + Repeat("A64", 31) + (n == 64 ? "I64" : "I32"),
        "TP01" + IdentitySources(),
        "OTP64",
        "CA" + std::to_string(n) + "2422" + Repeat("2121", 15),
        "CTI" + Repeat("F", n),
        "CPI" + Repeat("T", n),
        "TSI" + Repeat("N", n),
        "CTO" + Repeat("F", 32),
        "TSO" + Repeat("N", 32),
        "DSY99",
        "DSM12",
        "DSD31",
        "TSH23",
        "TSM59",
        "TSS59",
        "TSA",
        "TSDD",
        "SA31",
    };
    for (const auto& body : lines) EXPECT_EQ(sw.Answer(Crlf(body)), kGo) << body;
}

TEST_P(SetCommandsTest, AutoSequenceStoresTheChannelsInUse) {
    const int n = Inputs();
    ASSERT_EQ(sw.Answer(Crlf("AST02" + std::string("0500") + Repeat("10", n - 2))), kGo);
    const auto& times = sw.State().m_tables.m_nSeqTime[1];
    EXPECT_EQ(times[0], 5);
    EXPECT_EQ(times[1], 0);
    EXPECT_EQ(times[n - 1], 10);
    if (n == 32) {
        EXPECT_EQ(times[32], 3);  // entries beyond the model keep their value
    }
}

TEST_P(SetCommandsTest, ASourceIsReadWithTheModel) {
    const int n = Inputs();
    ASSERT_EQ(sw.Answer(Crlf("TP05" + std::string("A01I33") + Repeat("I01", 30))),
              n == 64 ? kGo : kE3);
    if (n == 64) {
        EXPECT_EQ(sw.State().m_tables.m_nPattern[5][0], 64);  // A01 follows the 64 inputs
        EXPECT_EQ(sw.State().m_tables.m_nPattern[5][1], 32);
    }
}

TEST_P(SetCommandsTest, LinesOfTheOtherModelAreRefused) {
    const int other = Inputs() == 32 ? 64 : 32;
    for (const auto& body : {"AST01" + Repeat("03", other), "CTI" + Repeat("N", other),
                             "CPI" + Repeat("B", other), "TSI" + Repeat("N", other)}) {
        EXPECT_EQ(sw.Answer(Crlf(body)), kE3) << body;
    }
}

TEST(SetCommands, OutputSwitchingFollowsTheRecalledMemory) {
    CVirtualSwitcher sw;
    const std::string row = Repeat("A02", 16) + Repeat("I07", 16);
    ASSERT_EQ(sw.Answer(Crlf("TP05" + row)), kGo);
    EXPECT_EQ(sw.State().m_tables.m_nPattern[kDirectRow][0],
              0);  // storing a memory switches nothing

    ASSERT_EQ(sw.Answer("OTP05\r\n"), kGo);
    EXPECT_EQ(sw.State().m_tables.m_nCurMemory, 5);
    EXPECT_EQ(sw.State().m_tables.m_nPattern[kDirectRow][0], 33);
    EXPECT_EQ(sw.State().m_tables.m_nPattern[kDirectRow][31], 6);

    ASSERT_EQ(sw.Answer(Crlf("OT" + IdentitySources())), kGo);
    EXPECT_EQ(sw.State().m_tables.m_nCurMemory, 0);
    EXPECT_EQ(sw.State().m_tables.m_nPattern[kDirectRow][0], 0);
}

TEST(SetCommands, TitleDropsOnlyTheTrailingFill) {
    CVirtualSwitcher sw;
    ASSERT_EQ(sw.Answer(Crlf("CA03" + std::string("24222121242A") + Repeat("2121", 13))), kGo);
    EXPECT_EQ(sw.State().m_tables.m_strTitle[2], "\x82\xa0\x81\x40\x82\xa8");  // あ　お
    ASSERT_EQ(sw.Answer(Crlf("CA03" + Repeat("2121", 16))), kGo);
    EXPECT_EQ(sw.State().m_tables.m_strTitle[2], "");
}

TEST(SetCommands, CalendarCommandsSetTheClockAndDateFormat) {
    CVirtualSwitcher sw;
    for (const char* body : {"DSY09", "DSM03", "DSD09", "TSH23", "TSM59", "TSS30", "TSDM"}) {
        ASSERT_EQ(sw.Answer(Crlf(body)), kGo) << body;
    }
    EXPECT_EQ(sw.State().m_clock, (CSwitcherClock{9, 3, 9, 23, 59, 30}));
    EXPECT_EQ(sw.State().m_tables.m_nDateFormat, 1);
    ASSERT_EQ(sw.Answer("TSA\r\n"), kGo);  // 30 seconds or more round up to the next minute
    EXPECT_EQ(sw.State().m_clock, (CSwitcherClock{9, 3, 9, 0, 0, 0}));
}

// Each line is refused with E3 and leaves the switcher as it was (32-input model).
class MalformedLineTest : public ::testing::TestWithParam<std::string> {};

// Unknown tags; AST: length, non-digits, pattern and time ranges, all SKIP; OT and TP:
// source kinds and ranges, memory range; OTP; CA: channel range, lower-case hex, codes
// outside JIS X 0208; flags of the display switches; calendar ranges; SA; read requests.
const std::string kMalformed[] = {"",
                                  "XYZ",
                                  "ast01" + Repeat("03", 32),
                                  "AST01" + Repeat("03", 31),
                                  "AST01" + Repeat("03", 33),
                                  "AST0A" + Repeat("03", 32),
                                  "AST01 3" + Repeat("03", 31),
                                  "AST00" + Repeat("03", 32),
                                  "AST65" + Repeat("03", 32),
                                  "AST01" + Repeat("03", 31) + "61",
                                  "AST01" + Repeat("00", 32),
                                  "OT" + Repeat("B01", 32),
                                  "OT" + Repeat("I00", 32),
                                  "OT" + Repeat("I33", 32),
                                  "OT" + Repeat("A65", 32),
                                  "OT" + Repeat("I01", 31),
                                  "TP00" + IdentitySources(),
                                  "TP65" + IdentitySources(),
                                  "OTP00",
                                  "OTP65",
                                  "OTP051",
                                  "CA00" + Repeat("2121", 16),
                                  "CA33" + Repeat("2121", 16),
                                  "CA01242a" + Repeat("2121", 15),
                                  "CA012D21" + Repeat("2121", 15),
                                  "CA012120" + Repeat("2121", 15),
                                  "CA01" + Repeat("2121", 15),
                                  "CTI" + Repeat("N", 31) + "X",
                                  "CTI" + Repeat("N", 31) + "n",
                                  "CPI" + Repeat("N", 32),
                                  "CTO" + Repeat("F", 33),
                                  "TSO" + Repeat("B", 32),
                                  "DSY9A",
                                  "DSM00",
                                  "DSM13",
                                  "DSD00",
                                  "DSD32",
                                  "TSH24",
                                  "TSM60",
                                  "TSS60",
                                  "TSS5",
                                  "TSAX",
                                  "TSDX",
                                  "TSDy",
                                  "TSD",
                                  "SA32",
                                  "SA5",
                                  "SA-1",
                                  "RAST00",
                                  "RAST65",
                                  "RAST1",
                                  "RTP00",
                                  "RTP65",
                                  "RCA00",
                                  "RCA33",
                                  "RCPIX",
                                  "ROTP1",
                                  "RTSDY",
                                  "ROT01",
                                  "RCTO1"};

INSTANTIATE_TEST_SUITE_P(EveryKind, MalformedLineTest, ::testing::ValuesIn(kMalformed));

TEST_P(MalformedLineTest, IsRefusedWithoutChange) {
    CVirtualSwitcher sw;
    const CSwitcherState before = sw.State();
    EXPECT_EQ(sw.Answer(Crlf(GetParam())), kE3);
    EXPECT_EQ(sw.State(), before);
}

TEST(SetCommands, LinesThatAreNotCommandLinesGetNoAnswer) {
    CVirtualSwitcher sw;
    EXPECT_EQ(sw.Answer("RTSD\n"), std::nullopt);
    EXPECT_EQ(sw.Answer("RTSD\r"), std::nullopt);
    EXPECT_EQ(sw.Answer(std::string(397, 'A') + "\r\n"), kE3);  // 399 bytes: still a line
    EXPECT_EQ(sw.Answer(std::string(398, 'A') + "\r\n"), std::nullopt);
}

}  // namespace
