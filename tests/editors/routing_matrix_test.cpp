#include "editors/routing_matrix.h"

#include "editors/pattern_output_send.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "tests/editors/editors_fixture.h"

namespace {

const std::string kHonsha = "\x96\x7B\x8E\xD0";  // 本社 in Shift_JIS

using RoutingMatrixTest = EditorsTest;

TEST_F(RoutingMatrixTest, MarksTheRowInUseAndStagesClicksApart) {
    g_nPattern[0][4] = 32 + 4;  // A05 on the 32-input model
    g_strTitle[2] = kHonsha;
    CRoutingMatrix matrix;
    EXPECT_EQ(matrix.State(2, 2), CrosspointState::kInUse);
    EXPECT_EQ(matrix.State(3, 2), CrosspointState::kFree);
    EXPECT_EQ(matrix.PatternOf(4), "A05");
    EXPECT_EQ(matrix.PatternOf(3), "");
    for (int in = 0; in < 32; ++in) ASSERT_EQ(matrix.State(in, 4), CrosspointState::kFree);
    EXPECT_EQ(matrix.InputLabel(2), "I03 本社");
    EXPECT_EQ(matrix.InputLabel(3), "I04");

    EXPECT_FALSE(matrix.Toggle(2, 2));  // in use, nothing to stage
    EXPECT_TRUE(matrix.Toggle(5, 2));
    EXPECT_EQ(matrix.State(5, 2), CrosspointState::kStaged);
    EXPECT_EQ(matrix.State(2, 2), CrosspointState::kLeaving);
    EXPECT_TRUE(matrix.Toggle(7, 2));  // another input for the same output
    EXPECT_EQ(matrix.State(5, 2), CrosspointState::kFree);
    EXPECT_TRUE(matrix.Toggle(2, 2));  // back to the one in use
    EXPECT_EQ(matrix.StagedCount(), 0);
    EXPECT_TRUE(matrix.Toggle(0, 4));  // off the pattern
    EXPECT_TRUE(matrix.Toggle(8, 9));
    EXPECT_FALSE(matrix.Toggle(40, 9));  // no input 41 on this model
    EXPECT_FALSE(matrix.Toggle(1, 32));
    EXPECT_EQ(matrix.StagedCount(), 2);
    EXPECT_EQ(g_nPattern[0][4], 36);  // staging never writes the model
    matrix.Drop();
    EXPECT_EQ(matrix.StagedCount(), 0);

    matrix.Toggle(8, 9);
    EXPECT_TRUE(matrix.SetRow(12));  // another row drops what was staged
    EXPECT_EQ(matrix.StagedCount(), 0);
    EXPECT_FALSE(matrix.SetRow(65));
    EXPECT_EQ(matrix.Row(), 12);
    EXPECT_TRUE(lines.empty());
}

using RoutingTakeTest = WireTest;
QELVAR_WIRE_SUITE(RoutingTakeTest);

// The editor's own send operations give the reference: the row they send is
// the model's with the staged changes written in by hand.
TEST_P(RoutingTakeTest, TakeSendsTheEditorsLineAndGoPutsTheRowInTheModel) {
    for (int row : {0, 5}) {
        SCOPED_TRACE(row);
        lines.clear();
        g_bModified = 0;
        g_nPattern[row][30] = Inputs() + 63;  // A64, left as it is
        CRoutingMatrix matrix;
        ASSERT_TRUE(matrix.SetRow(row));
        matrix.Toggle(Inputs() - 1, 0);
        matrix.Toggle(3, 17);
        ASSERT_EQ(matrix.Take(), TakeResult::kSent);
        OutputRow expected = g_nPattern[row];
        expected[0] = Inputs() - 1;
        expected[17] = 3;
        EXPECT_EQ(matrix.TakeRow(), expected);
        const OutputRow before = g_nPattern[row];
        g_nPattern[row] = expected;
        if (row == 0) {
            SendOutputs();
        } else {
            SendMemoryPattern(row);
        }
        g_nPattern[row] = before;
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], lines[1]);
        EXPECT_EQ(lines[0].substr(GetParam().bRs485 ? 2 : 0, 2), row == 0 ? "OT" : "TP");

        // The take's line is answered first, then the editor's.
        EXPECT_FALSE(matrix.Follow());
        EXPECT_TRUE(matrix.Awaiting());
        DispatchLine(Framed("GO\r\n"));
        DispatchLine(Framed("GO\r\n"));
        EXPECT_TRUE(matrix.Follow());
        EXPECT_EQ(matrix.LastOutcome(), TakeOutcome::kDone);
        EXPECT_EQ(g_nPattern[row], expected);
        EXPECT_EQ(matrix.StagedCount(), 0);
        EXPECT_EQ(matrix.State(3, 17), CrosspointState::kInUse);
        EXPECT_EQ(g_bModified, row == 0 ? 0 : 1);  // the direct row is not in the file
    }
}

TEST_P(RoutingTakeTest, AnErrorReplyOrNoAnswerLeavesTheChangesStaged) {
    CRoutingMatrix matrix;
    matrix.Toggle(6, 1);
    ASSERT_EQ(matrix.Take(), TakeResult::kSent);
    EXPECT_FALSE(matrix.Toggle(7, 2));  // nothing changes while the take awaits its answer
    EXPECT_FALSE(matrix.SetRow(3));
    EXPECT_EQ(matrix.Take(), TakeResult::kAwaiting);
    DispatchLine(Framed("E3\r\n"));
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.LastOutcome(), TakeOutcome::kRefused);
    EXPECT_EQ(matrix.State(6, 1), CrosspointState::kStaged);
    EXPECT_EQ(g_nPattern[0][1], 1);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "Command Error"}}));

    ASSERT_EQ(matrix.Take(), TakeResult::kSent);  // again, the same line
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], lines[0]);
    Link().Owed().Forget();  // the port was lost
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.LastOutcome(), TakeOutcome::kUnanswered);
    EXPECT_EQ(matrix.StagedCount(), 1);

    g_nSendStep = 3;
    EXPECT_EQ(matrix.Take(), TakeResult::kCycleRunning);
    g_nSendStep = 0;
    matrix.Drop();
    EXPECT_EQ(matrix.Take(), TakeResult::kNothingStaged);
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(RoutingMatrixTest, FollowsTheModelRowTitlesAndInputCount) {
    CRoutingMatrix matrix;
    EXPECT_FALSE(matrix.Follow());
    g_nPattern[3][7] = 9;  // a row not shown
    EXPECT_FALSE(matrix.Follow());
    g_nPattern[0][7] = 9;  // an editor, a read-back, a client's route
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.State(9, 7), CrosspointState::kInUse);
    EXPECT_FALSE(matrix.Follow());
    g_strTitle[31] = kHonsha;
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.InputLabel(31), "I32 本社");

    g_nModel = 1;
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.Inputs(), 64);
    matrix.Toggle(50, 0);
    matrix.Toggle(4, 1);
    matrix.Toggle(6, 2);
    g_nPattern[0][1] = 4;  // the row now holds one change anyway
    g_nModel = 0;          // and input 51 is gone
    EXPECT_TRUE(matrix.Follow());
    EXPECT_EQ(matrix.StagedCount(), 1);
    EXPECT_EQ(matrix.StagedFor(2), 6);
}

}  // namespace
