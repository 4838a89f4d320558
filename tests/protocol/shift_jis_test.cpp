#include "protocol/shift_jis.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(JisCodeTest, KnownCodes) {
    EXPECT_EQ(JisToShiftJis(0x2121), 0x8140);  // ideographic space
    EXPECT_EQ(JisToShiftJis(0x2422), 0x82A0);  // あ
    EXPECT_EQ(JisToShiftJis(0x3441), 0x8ABF);  // 漢
    EXPECT_EQ(JisToShiftJis(0x5D21), 0x9F40);
    EXPECT_EQ(JisToShiftJis(0x5E21), 0x9F9F);
    EXPECT_EQ(JisToShiftJis(0x5F21), 0xE040);
    EXPECT_EQ(JisToShiftJis(0x6021), 0xE09F);
    EXPECT_EQ(JisToShiftJis(0x7E7E), 0xEFFC);
    EXPECT_EQ(ShiftJisToJis(0x8160), 0x2141);  // wave dash
}

TEST(JisCodeTest, OutsideTheRowAndCellRangesIsZero) {
    for (int jis : {0x0000, 0x2020, 0x2120, 0x217F, 0x7F21, 0x2100, 0x12121, -1}) {
        EXPECT_EQ(JisToShiftJis(jis), 0) << std::hex << jis;
    }
    for (int sjis : {0x0041, 0x8000, 0x813F, 0x817F, 0x81FD, 0xA040, 0xF040, 0x10000}) {
        EXPECT_EQ(ShiftJisToJis(sjis), 0) << std::hex << sjis;
    }
}

// Half-width katakana (0xA1..0xDF) stand alone; the user-defined and vendor
// lead bytes 0xF0..0xFC start a character that has no JIS X 0208 code.
TEST(JisCodeTest, LeadBytes) {
    const std::pair<unsigned char, bool> bytes[] = {
        {0x41, false}, {0x80, false}, {0x81, true}, {0x9F, true}, {0xA0, false}, {0xB1, false},
        {0xDF, false}, {0xE0, true},  {0xEF, true}, {0xF0, true}, {0xFC, true},  {0xFD, false},
    };
    for (auto [byte, bLead] : bytes)
        EXPECT_EQ(IsShiftJisLeadByte(byte), bLead) << std::hex << +byte;
    EXPECT_EQ(ShiftJisToJis(0xEF40), 0x7D21);  // row 93, the last lead byte of JIS X 0208
    EXPECT_EQ(ShiftJisToJis(0xF040), 0);
    EXPECT_EQ(ShiftJisToJis(0xB140), 0);
}

TEST(JisCodeTest, EveryCodeRoundTripsAndNoTwoShareAShiftJisCode) {
    std::set<int> seen;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            int jis = (row << 8) | cell;
            int sjis = JisToShiftJis(jis);
            ASSERT_NE(sjis, 0);
            ASSERT_EQ(ShiftJisToJis(sjis), jis) << std::hex << jis;
            seen.insert(sjis);
        }
    }
    EXPECT_EQ(seen.size(), 94u * 94u);
}

}  // namespace
