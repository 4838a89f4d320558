#include "batch/cycle_pace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/link_state.h"
#include "link/reply_dispatch.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"
#include "tests/support/wire_capture.h"

namespace {

using Clock = CCyclePacer::Clock;
using std::chrono::milliseconds;

class CyclePaceTest : public ::testing::Test {
protected:
    // A list of n steps, each sending a line, except the refused ones.
    CStepList Steps(int n, std::vector<int> refuse = {}) {
        CStepList list;
        list.nSteps = n;
        list.perform = [refuse](int k) {
            for (int r : refuse) {
                if (r == k) return CStepResult::Refused("refused");
            }
            SendCommand("TSDY\r\n");
            return CStepResult{};
        };
        return list;
    }
    // A reply as the owner thread takes it in.
    static void Reply(const std::string& line) { DispatchLine(line); }

    CWireCapture wire;  // the program's start-up state, lines captured
    CRecordingSink sink;
    Clock::time_point t0 = Clock::now();
};

TEST_F(CyclePaceTest, UnderTheTimerAStepIsDueEachPeriodFromTheStart) {
    CSendCycle cycle(Steps(3));
    CCyclePacer pacer(cycle, CyclePace::kTimer, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.MsUntilDue(t0), 0);
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(100)), 200);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(299)), PaceOutcome::kWaiting);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(300)), PaceOutcome::kStepped);  // no reply needed
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(600)), PaceOutcome::kFinished);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(600)), -1);
    EXPECT_EQ(wire.lines.size(), 3u);
}

// A dialog's periodic timer keeps the time: each of its ticks is a step, and
// a switcher that stops answering is the connection monitor's to report.
TEST_F(CyclePaceTest, UnderTheCallersTimerEachPollIsAStepAndNoReplyIsTimedHere) {
    CSendCycle cycle(Steps(4, {2}));
    CCyclePacer pacer(cycle, CyclePace::kTicks, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.MsUntilDue(t0), 0);
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);  // refused: sends nothing
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(1)), 0);
    // Far past the reply time, nothing answered: still a step, not kNoReply.
    const Clock::time_point late = t0 + milliseconds(10 * kReplyTimeMs);
    EXPECT_EQ(pacer.MsUntilDue(late), 0);
    EXPECT_EQ(pacer.Poll(late), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.Poll(late), PaceOutcome::kFinished);
    EXPECT_EQ(pacer.MsUntilDue(late), -1);
    EXPECT_EQ(cycle.Outcome().end, RunEnd::kDone);
    EXPECT_EQ(wire.lines.size(), 3u);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, "refused"}}));

    // The monitor's "No Connect" ends the run on the next tick.
    wire.lines.clear();
    CSendCycle next(Steps(5));
    CCyclePacer paced(next, CyclePace::kTicks, 300);
    ASSERT_TRUE(paced.Start(late));
    EXPECT_EQ(paced.Poll(late), PaceOutcome::kStepped);
    Link().NoteNoConnect();
    EXPECT_EQ(paced.Poll(late), PaceOutcome::kStopped);
    EXPECT_EQ(next.Outcome().end, RunEnd::kNoConnect);
    EXPECT_EQ(wire.lines.size(), 1u);
}

TEST_F(CyclePaceTest, UnderRepliesEachLineWaitsForTheReplyToTheOneBefore) {
    CSendCycle cycle(Steps(4, {2}));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(1000)), 2500);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(1000)), PaceOutcome::kWaiting);
    Reply("GO\r\n");
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(1000)), 0);
    // Step 2 is refused and sends nothing, so step 3 is due at once.
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(1001)), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(1001)), 0);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(1001)), PaceOutcome::kStepped);
    EXPECT_EQ(wire.lines.size(), 2u);
    Reply("GO\r\n");
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(1002)), PaceOutcome::kFinished);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, "refused"}}));
}

TEST_F(CyclePaceTest, AReplyStillOwedFromBeforeTheRunIsNotTakenForTheFirstAnswer) {
    SendCommand("CA32" + std::string(64, '0') + "\r\n");  // the last line of the run before
    CSendCycle cycle(Steps(2));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kWaiting);
    Reply("GO\r\n");  // its reply
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kWaiting);  // the first line's own reply
    Reply("GO\r\n");
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kFinished);

    // One that never comes holds the run up for the monitor's time, and no longer.
    SendCommand("TSDY\r\n");
    CSendCycle next(Steps(1));
    CCyclePacer late(next, CyclePace::kReplies, 300);
    ASSERT_TRUE(late.Start(t0));
    EXPECT_EQ(late.Poll(t0 + milliseconds(kReplyTimeMs - 1)), PaceOutcome::kWaiting);
    EXPECT_EQ(late.Poll(t0 + milliseconds(kReplyTimeMs)), PaceOutcome::kFinished);
}

TEST_F(CyclePaceTest, AnErrorReplyStopsTheRunAsUnderTheTimer) {
    CSendCycle cycle(Steps(5));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    Reply("E3\r\n");
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStopped);
    EXPECT_EQ(wire.lines.size(), 1u);
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_EQ(g_nSendStep, 0);
}

TEST_F(CyclePaceTest, AReplyMissingForTheMonitorsTimeEndsTheRun) {
    CSendCycle cycle(Steps(5));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    ASSERT_TRUE(pacer.Start(t0));
    pacer.Poll(t0);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kReplyTimeMs - 1)), PaceOutcome::kWaiting);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kReplyTimeMs)), PaceOutcome::kNoReply);
    EXPECT_FALSE(cycle.Running());
    EXPECT_EQ(pacer.NoReplyStep(), 1);
    EXPECT_EQ(cycle.Outcome().end, RunEnd::kNoConnect);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(kReplyTimeMs)), -1);
    Reply("GO\r\n");  // too late: nothing more goes out
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kReplyTimeMs + 1)), PaceOutcome::kIgnored);
    EXPECT_EQ(wire.lines.size(), 1u);
}

TEST_F(CyclePaceTest, APortLostWhileAReplyIsAwaitedStopsTheRunAtOnce) {
    Link().State().Begin("COM1 /dev/ttyUSB0", false, LinkStatus::kConnected);
    CSendCycle cycle(Steps(5));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    Link().State().Apply(CPortEvent::Lost(CLinkFailure::Of(CLinkFailure::Kind::kHungUp)));
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(10)), 0);  // not the monitor's time
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(10)), PaceOutcome::kStopped);
    EXPECT_TRUE(cycle.PortLost());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(wire.lines.size(), 1u);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kReplyError, "Port lost: COM1 /dev/ttyUSB0"}}));
}

TEST_F(CyclePaceTest, UnderTheTimerALostPortStopsTheRunWithoutWaitingForThePeriod) {
    Link().State().Begin("COM1 /dev/ttyUSB0", false, LinkStatus::kConnected);
    CSendCycle cycle(Steps(5));
    CCyclePacer pacer(cycle, CyclePace::kTimer, 300);
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    Link().State().Apply(CPortEvent::Lost(CLinkFailure::Of(CLinkFailure::Kind::kHungUp)));
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(10)), 0);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(10)), PaceOutcome::kStopped);
    EXPECT_TRUE(cycle.PortLost());
    EXPECT_EQ(wire.lines.size(), 1u);
}

TEST_F(CyclePaceTest, ACallFromInsideAStepsWarningDoesNothing) {
    CSendCycle cycle(Steps(2, {1}));
    CCyclePacer pacer(cycle, CyclePace::kReplies, 300);
    std::vector<PaceOutcome> inner;
    sink.whileOpen = [&](const RecordedBox&) { inner.push_back(pacer.Poll(t0)); };
    ASSERT_TRUE(pacer.Start(t0));
    EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
    EXPECT_EQ(inner, std::vector<PaceOutcome>{PaceOutcome::kIgnored});
    EXPECT_TRUE(wire.lines.empty());
}

// Under the timer too a switcher that stops answering ends the run, instead
// of every remaining line going out to nobody: the step named is the one
// whose line went without its reply for the monitor's time.
TEST_F(CyclePaceTest, UnderTheTimerALineLeftWithoutItsReplyEndsTheRun) {
    CSendCycle cycle(Steps(40));
    CCyclePacer pacer(cycle, CyclePace::kTimer, 1000);
    ASSERT_TRUE(pacer.Start(t0));
    for (int k = 1; k <= 4; ++k) {
        ASSERT_EQ(pacer.Poll(t0 + milliseconds(1000 * (k - 1))), PaceOutcome::kStepped) << k;
    }
    Reply("GO\r\n");  // steps 1 and 2 are answered, then nothing more
    Reply("GO\r\n");
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(4000)), PaceOutcome::kStepped);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(5000)), PaceOutcome::kStepped);
    // Step 3 went out at t0 + 2 s: its time is up before the next tick.
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(5200)), 2000 + kReplyTimeMs - 5200);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(1999 + kReplyTimeMs)), PaceOutcome::kWaiting);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(2000 + kReplyTimeMs)), PaceOutcome::kNoReply);
    EXPECT_EQ(pacer.NoReplyStep(), 3);
    EXPECT_FALSE(cycle.Running());
    EXPECT_EQ(cycle.Outcome().end, RunEnd::kNoConnect);
    EXPECT_EQ(cycle.Outcome().nLastStep, 6);
    EXPECT_EQ(wire.lines.size(), 6u);
    EXPECT_TRUE(sink.boxes.empty());  // the program's monitor or the tool says it

    // A switcher that answers keeps the run going however long it takes.
    wire.lines.clear();
    CSendCycle answered(Steps(30));
    CCyclePacer paced(answered, CyclePace::kTimer, 300);
    ASSERT_TRUE(paced.Start(t0));
    Clock::time_point now = t0;
    while (answered.Running()) {
        ASSERT_NE(paced.Poll(now), PaceOutcome::kNoReply);
        Reply("GO\r\n");
        now += milliseconds(300);
    }
    EXPECT_EQ(answered.Outcome().end, RunEnd::kDone);
    EXPECT_EQ(wire.lines.size(), 30u);
}

// The program's runs watch the monitor's report: after "No Connect" the next
// look ends the run, under replies as under the timer.
TEST_F(CyclePaceTest, AfterNoConnectTheNextLookEndsTheRun) {
    for (CyclePace pace : {CyclePace::kTimer, CyclePace::kReplies}) {
        wire.lines.clear();
        CSendCycle cycle(Steps(5));
        CCyclePacer pacer(cycle, pace, 300);
        ASSERT_TRUE(pacer.Start(t0));
        EXPECT_EQ(pacer.Poll(t0), PaceOutcome::kStepped);
        Link().NoteNoConnect();
        EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(10)), 0);
        EXPECT_EQ(pacer.Poll(t0 + milliseconds(10)), PaceOutcome::kStopped);
        EXPECT_EQ(cycle.Outcome().end, RunEnd::kNoConnect);
        EXPECT_EQ(wire.lines.size(), 1u);
        Link().Owed().Forget();  // nothing awaited into the next run
        g_bAwaitingReply = 0;
    }
}

}  // namespace
