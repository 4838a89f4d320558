#include "protocol/rs485_frame.h"

#include <gtest/gtest.h>

namespace {

TEST(Rs485FrameTest, FramesALineForItsAddress) {
    const struct {
        int nAddress;
        const char* line;
        const char* framed;
    } cases[] = {
        {0, "TSDY\r\n", "00TSDY\r\n"},
        {5, "RCPI\r\n", "05RCPI\r\n"},
        {31, "SA00\r\n", "31SA00\r\n"},
        {-1, "TSDY\r\n", "TSDY\r\n"},  // RS-232C
        {7, "", "07"},
    };
    for (const auto& c : cases) EXPECT_EQ(FrameLine(c.nAddress, c.line), c.framed) << c.framed;
}

TEST(Rs485FrameTest, SplitsTheAddressInFrontFromTheRest) {
    const struct {
        const char* line;
        int nAddress;
        const char* rest;
    } cases[] = {
        {"05GO\r\n", 5, "GO\r\n"},  {"31CP1S9116\r\n", 31, "CP1S9116\r\n"}, {"00", 0, ""},
        {"GO\r\n", -1, "\r\n"},  // no digits: the two characters still go
        {"5 GO\r\n", -1, "GO\r\n"},
    };
    for (const auto& c : cases) {
        const auto split = SplitAddress(c.line);
        ASSERT_TRUE(split) << c.line;
        EXPECT_EQ(split->nAddress, c.nAddress) << c.line;
        EXPECT_EQ(split->rest, c.rest) << c.line;
    }
    EXPECT_FALSE(SplitAddress("5"));
    EXPECT_FALSE(SplitAddress(""));
}

TEST(Rs485FrameTest, DropsWhatStandsWhereTheAddressGoes) {
    EXPECT_EQ(DropAddress("12GO\r\n"), "GO\r\n");
    EXPECT_EQ(DropAddress("1"), "");
    EXPECT_EQ(DropAddress(""), "");
    EXPECT_EQ(DropAddress(FrameLine(9, "RAST01\r\n")), "RAST01\r\n");
}

}  // namespace
