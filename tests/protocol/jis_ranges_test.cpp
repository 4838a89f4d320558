#include "protocol/jis_ranges.h"

#include <gtest/gtest.h>

#include <vector>

#include "protocol/title_codes.h"

namespace {

std::vector<unsigned> ValidCodes() {
    std::vector<unsigned> codes;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        if (CheckJisCode(code) == 0) codes.push_back(code);
    }
    return codes;
}

TEST(JisTableTest, EightySixRangesHolding6879Codes) {
    EXPECT_EQ(JisRanges().size(), 86u);
    const auto codes = ValidCodes();
    EXPECT_EQ(codes.size(), 6879u);
    EXPECT_EQ(codes.front(), 0x2121u);
    EXPECT_EQ(codes.back(), 0x7426u);
    EXPECT_EQ(CheckJisCode(0x12121), 2);
}

// Hand-picked edges of the table: the first and last cell of partial rows, the
// gaps between the ranges of row 2, the empty rows 9..15 and the end of level 2.
TEST(JisTableTest, EdgesOfTheRanges) {
    const std::pair<unsigned, int> edges[] = {
        {0x2120, 2}, {0x217E, 0}, {0x222E, 0}, {0x222F, 2}, {0x2239, 2}, {0x227E, 0},
        {0x232F, 2}, {0x2330, 0}, {0x2473, 0}, {0x2474, 2}, {0x2576, 0}, {0x2577, 2},
        {0x2840, 0}, {0x2841, 2}, {0x2921, 2}, {0x2F7E, 2}, {0x3021, 0}, {0x4F53, 0},
        {0x4F54, 2}, {0x5021, 0}, {0x7426, 0}, {0x7427, 2}, {0x7521, 2},
    };
    for (auto [code, result] : edges) EXPECT_EQ(CheckJisCode(code), result) << std::hex << code;

    JisCodes codes;
    codes.fill(kFullWidthSpaceJis);
    EXPECT_EQ(CheckJisCodes(codes), 0);
    codes[15] = 0x2D21;  // NEC row 13: not JIS X 0208
    EXPECT_EQ(CheckJisCodes(codes), 2);
}

}  // namespace
