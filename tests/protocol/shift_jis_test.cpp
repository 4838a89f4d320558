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
