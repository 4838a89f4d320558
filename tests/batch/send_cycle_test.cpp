#include "batch/send_cycle.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/settings_model.h"
#include "tests/support/recording_sink.h"

namespace {

class SendCycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nSendStep = 0;
        g_bErrorReply = 0;
    }
    void TearDown() override { g_nSendStep = 0; }

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

}  // namespace
