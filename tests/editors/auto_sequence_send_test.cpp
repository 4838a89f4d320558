#include "editors/auto_sequence_send.h"

#include "tests/editors/editors_fixture.h"

namespace {

using AutoSequenceWireTest = WireTest;
QELVAR_WIRE_SUITE(AutoSequenceWireTest);

TEST_P(AutoSequenceWireTest, DefaultPatternSendsEveryChannelInUseAtThree) {
    EXPECT_EQ(SendSequencePattern(0), 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Framed("AST01" + Repeat("03", Inputs()) + "\r\n"));
    EXPECT_EQ(lines[0].size() - (GetParam().bRs485 ? 2 : 0), Inputs() == 32 ? 71u : 135u);
}

TEST_P(AutoSequenceWireTest, FieldsAtTheirLimits) {
    InputTable& times = g_nSeqTime[63];
    times[0] = 60;
    times[1] = 0;  // SKIP
    times[Inputs() - 1] = 1;
    EXPECT_EQ(SendSequencePattern(63), 0);
    EXPECT_EQ(lines, FramedLines({"AST646000" + Repeat("03", Inputs() - 3) + "01\r\n"}));
}

TEST_P(AutoSequenceWireTest, AllSkipIsRefusedWhateverTheUnusedChannelsHold) {
    InputTable& times = g_nSeqTime[4];
    times.fill(7);
    std::fill(times.begin(), times.begin() + Inputs(), 0);
    EXPECT_EQ(SendSequencePattern(4), 1);
    EXPECT_STREQ(SequencePatternStep(4).pszWarning, kAllSkipWarning);
    EXPECT_TRUE(lines.empty());

    times[Inputs() - 1] = 60;
    EXPECT_TRUE(SequencePatternStep(4).Sent());
    EXPECT_EQ(lines, FramedLines({"AST05" + Repeat("00", Inputs() - 1) + "60\r\n"}));
}

using AutoSequenceTest = EditorsTest;

TEST_F(AutoSequenceTest, PatternIndexOutsideTheTableSendsNothing) {
    EXPECT_EQ(SendSequencePattern(-1), -1);
    EXPECT_EQ(SendSequencePattern(kPatterns), -1);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
