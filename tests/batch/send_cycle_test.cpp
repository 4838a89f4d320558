#include "batch/send_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"

namespace {

class SendCycleTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override {
        Link().SetLineTap({});
        g_nSendStep = 0;
    }

    // A list of n steps that records what it performs and refuses the steps in refuse.
    CStepList Steps(int n, std::vector<int> refuse = {}, bool endsAfterLast = false) {
        CStepList list;
        list.nSteps = n;
        list.bEndsOnTickAfterLast = endsAfterLast;
        list.perform = [this, refuse](int k) {
            performed.push_back(k);
            for (int r : refuse) {
                if (r == k) return CStepResult::Refused("refused");
            }
            return CStepResult{};
        };
        return list;
    }

    // Ticks until the cycle no longer runs; returns the outcomes.
    std::vector<TickOutcome> RunOut(CSendCycle& cycle, int limit = 1000) {
        std::vector<TickOutcome> outcomes;
        while (cycle.Running() && limit-- > 0) outcomes.push_back(cycle.Tick());
        return outcomes;
    }

    std::vector<int> performed;
    CRecordingSink sink;
};

TEST_F(SendCycleTest, PerformsEveryStepInOrderAndEndsOnTheLastOne) {
    CSendCycle cycle(Steps(64));
    ASSERT_TRUE(cycle.Start());
    EXPECT_EQ(g_nSendStep, 1);
    auto outcomes = RunOut(cycle);
    ASSERT_EQ(outcomes.size(), 64u);
    EXPECT_EQ(outcomes.front(), TickOutcome::kStepped);
    EXPECT_EQ(outcomes.back(), TickOutcome::kFinished);
    EXPECT_EQ(performed.size(), 64u);
    for (int k = 1; k <= 64; ++k) EXPECT_EQ(performed[k - 1], k);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(cycle.LastStep(), 64);
    EXPECT_EQ(cycle.Tick(), TickOutcome::kIgnored);
}

TEST_F(SendCycleTest, GNextStepIsTheStepTheNextTickPerforms) {
    CSendCycle cycle(Steps(3));
    std::vector<int> stepsSeenDuring;
    cycle.onStep = [&](int k) { stepsSeenDuring.push_back(k * 10 + g_nSendStep); };
    cycle.Start();
    RunOut(cycle);
    // While step k is reported the counter still holds k; it moves on afterwards.
    EXPECT_EQ(stepsSeenDuring, (std::vector<int>{11, 22, 33}));
}

TEST_F(SendCycleTest, ReadBackStyleListsEndOnTheTickAfterTheLastStep) {
    CSendCycle cycle(Steps(168, {}, true));
    cycle.Start();
    auto outcomes = RunOut(cycle);
    ASSERT_EQ(outcomes.size(), 169u);
    EXPECT_EQ(outcomes[167], TickOutcome::kStepped);
    EXPECT_EQ(outcomes[168], TickOutcome::kFinished);
    EXPECT_EQ(performed.size(), 168u);
    EXPECT_EQ(cycle.LastStep(), 168);
}

TEST_F(SendCycleTest, ARefusedStepShowsItsWarningAndTheCycleGoesOn) {
    CSendCycle cycle(Steps(6, {2, 5}));
    cycle.Start();
    RunOut(cycle);
    EXPECT_EQ(performed.size(), 6u);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, "refused"},
                                                    {BoxKind::kWarning, "refused"}}));
}

TEST_F(SendCycleTest, AnObserverCanTakeTheRefusalsInstead) {
    CSendCycle cycle(Steps(6, {5}));
    std::vector<int> refusals;
    cycle.onRefused = [&](int k, const char*) { refusals.push_back(k); };
    cycle.Start();
    RunOut(cycle);
    EXPECT_EQ(refusals, (std::vector<int>{5}));
    EXPECT_TRUE(sink.boxes.empty());
}

// A refusal with nothing to say (no such item) is counted, and no empty box
// or observer call comes of it.
TEST_F(SendCycleTest, ARefusalWithoutAWarningIsCountedButShowsNothing) {
    CStepList list = Steps(4);
    list.perform = [](int k) {
        return k == 3 ? CStepResult::Refused(SendRefusal::kNoSuchItem) : CStepResult{};
    };
    CSendCycle cycle(list);
    int observed = 0;
    cycle.onRefused = [&](int, const char*) { ++observed; };
    cycle.Start();
    RunOut(cycle);
    EXPECT_EQ(cycle.Outcome().refused, (std::vector<int>{3}));
    EXPECT_EQ(observed, 0);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(SendCycleTest, NoTickRunsWhileAWarningIsOpen) {
    CSendCycle cycle(Steps(4, {2}));
    sink.whileOpen = [&](const RecordedBox&) {
        // The GUI's timer keeps firing inside a modal box.
        EXPECT_EQ(cycle.Tick(), TickOutcome::kIgnored);
        EXPECT_EQ(cycle.Tick(), TickOutcome::kIgnored);
    };
    cycle.Start();
    RunOut(cycle);
    EXPECT_EQ(performed, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(SendCycleTest, AnErrorReplyStopsTheCycleOnTheNextTickKeepingTheLastStep) {
    CSendCycle cycle(Steps(64));
    cycle.Start();
    for (int i = 0; i < 5; ++i) cycle.Tick();
    g_bErrorReply = 1;  // the reply to step 5
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_FALSE(cycle.Running());
    EXPECT_EQ(cycle.LastStep(), 5);
    EXPECT_EQ(performed.size(), 5u);
}

TEST_F(SendCycleTest, AStaleErrorStopsTheCycleBeforeItSendsAnything) {
    g_bErrorReply = 1;
    CSendCycle cycle(Steps(64));
    ASSERT_TRUE(cycle.Start());  // starting does not clear the flag
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_TRUE(performed.empty());
    EXPECT_EQ(cycle.LastStep(), 0);
}

TEST_F(SendCycleTest, OnlyOneCycleRunsAtATime) {
    CSendCycle first(Steps(3));
    CSendCycle second(Steps(3));
    ASSERT_TRUE(first.Start());
    EXPECT_FALSE(second.Start());
    EXPECT_EQ(second.Tick(), TickOutcome::kIgnored);
    RunOut(first);
    EXPECT_TRUE(second.Start());
}

TEST_F(SendCycleTest, StoppingOrDestroyingARunningCycleFreesTheCounter) {
    {
        CSendCycle cycle(Steps(64));
        cycle.Start();
        cycle.Tick();
        EXPECT_EQ(g_nSendStep, 2);
    }
    EXPECT_EQ(g_nSendStep, 0);

    CSendCycle cycle(Steps(64, {3}));
    sink.whileOpen = [&](const RecordedBox&) { cycle.Stop(); };  // closed during a warning
    cycle.Start();
    cycle.Tick();
    cycle.Tick();
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(cycle.Tick(), TickOutcome::kIgnored);
}

// How the run ended, as its dialog or the command-line tool says it.
TEST_F(SendCycleTest, TheOutcomeSaysHowTheRunEndedAndWhatWasRefused) {
    CSendCycle done(Steps(6, {2, 5}));
    done.Start();
    RunOut(done);
    EXPECT_EQ(done.Outcome().end, RunEnd::kDone);
    EXPECT_EQ(done.Outcome().nSteps, 6);
    EXPECT_EQ(done.Outcome().nLastStep, 6);
    EXPECT_EQ(done.Outcome().refused, (std::vector<int>{2, 5}));
    EXPECT_EQ(done.Outcome().Sent(), 4);

    CSendCycle stopped(Steps(6, {2}));
    stopped.Start();
    for (int i = 0; i < 3; ++i) stopped.Tick();
    stopped.Stop();
    EXPECT_EQ(stopped.Outcome().end, RunEnd::kStopped);
    EXPECT_EQ(stopped.Outcome().nLastStep, 3);
    EXPECT_EQ(stopped.Outcome().refused, (std::vector<int>{2}));

    // The flag alone (no answer kept) names the step reached.
    CSendCycle flagged(Steps(6));
    flagged.Start();
    for (int i = 0; i < 4; ++i) flagged.Tick();
    g_bErrorReply = 1;
    flagged.Tick();
    EXPECT_EQ(flagged.Outcome().end, RunEnd::kErrorReply);
    EXPECT_EQ(flagged.Outcome().nFaultStep, 4);
    EXPECT_EQ(flagged.Outcome().strReply, "");
    EXPECT_TRUE(flagged.Outcome().bErrorReply);

    // A new run starts afresh.
    flagged.Start();
    EXPECT_EQ(flagged.Outcome().end, RunEnd::kDone);
    EXPECT_EQ(flagged.Outcome().nLastStep, 0);
    EXPECT_TRUE(flagged.Outcome().refused.empty());
}

// Under the timer the lines run ahead of their answers: the step named is the
// one whose line the error answered, and an answer to a line sent before the
// run names none of its steps.
TEST_F(SendCycleTest, AnErrorReplyNamesTheStepWhoseLineItAnswered) {
    Link().SetLineTap([](std::string_view) {});
    CStepList list;
    list.nSteps = 10;
    list.perform = [](int) {
        SendCommand("TSDY\r\n");
        return CStepResult{};
    };
    CSendCycle cycle(list);
    cycle.Start();
    for (int i = 0; i < 5; ++i) cycle.Tick();
    DispatchLine("GO\r\n");
    DispatchLine("GO\r\n");
    DispatchLine("E3\r\n");  // the answer to step 3
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_EQ(cycle.Outcome().end, RunEnd::kErrorReply);
    EXPECT_EQ(cycle.Outcome().nLastStep, 5);
    EXPECT_EQ(cycle.Outcome().nFaultStep, 3);
    EXPECT_EQ(cycle.Outcome().strReply, "Command Error");
    EXPECT_TRUE(cycle.Outcome().bErrorReply);

    DispatchLine("GO\r\n");  // steps 4 and 5
    DispatchLine("GO\r\n");
    SendCommand("TSDY\r\n");  // a Set before the next run
    DispatchLine("E3\r\n");   // ... and its answer, no reply since
    ASSERT_EQ(g_bErrorReply, 1);
    cycle.Start();
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_EQ(cycle.Outcome().nFaultStep, 0);  // before the first step
    EXPECT_EQ(cycle.Outcome().strReply, "Command Error");
}

// The connection monitor's report stops the run with its own box only; one
// about a line from before the run (the last line of the one before, say) does not.
TEST_F(SendCycleTest, NoConnectStopsTheCycleWithoutAnotherBox) {
    CSendCycle cycle(Steps(20));
    cycle.Start();
    Link().NoteNoConnect();  // before the first line
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStepped);
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStepped);
    EXPECT_FALSE(cycle.NoConnectSinceStart());
    Link().NoteNoConnect();
    EXPECT_TRUE(cycle.NoConnectSinceStart());
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_FALSE(cycle.Running());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(performed, (std::vector<int>{1, 2}));
    EXPECT_EQ(cycle.Outcome().end, RunEnd::kNoConnect);
    EXPECT_EQ(cycle.Outcome().nLastStep, 2);
    EXPECT_TRUE(sink.boxes.empty());
}

}  // namespace
