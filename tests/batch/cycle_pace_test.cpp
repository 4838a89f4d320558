#include "batch/cycle_pace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/link_context.h"
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
    EXPECT_EQ(late.Poll(t0 + milliseconds(kNoReplyMs - 1)), PaceOutcome::kWaiting);
    EXPECT_EQ(late.Poll(t0 + milliseconds(kNoReplyMs)), PaceOutcome::kFinished);
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
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kNoReplyMs - 1)), PaceOutcome::kWaiting);
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kNoReplyMs)), PaceOutcome::kNoReply);
    EXPECT_FALSE(cycle.Running());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(pacer.MsUntilDue(t0 + milliseconds(kNoReplyMs)), -1);
    Reply("GO\r\n");  // too late: nothing more goes out
    EXPECT_EQ(pacer.Poll(t0 + milliseconds(kNoReplyMs + 1)), PaceOutcome::kIgnored);
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

}  // namespace
