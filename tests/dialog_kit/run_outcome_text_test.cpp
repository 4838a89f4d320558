#include "dialog_kit/run_outcome_text.h"

#include <gtest/gtest.h>

namespace {

CRunOutcome Outcome(RunEnd end, int nSteps, int nLastStep) {
    CRunOutcome outcome;
    outcome.end = end;
    outcome.nSteps = nSteps;
    outcome.nLastStep = nLastStep;
    return outcome;
}

CStepList Named() {
    CStepList steps;
    steps.nSteps = 165;
    steps.describe = [](int k) { return "step " + std::to_string(k); };
    steps.name = [](int k) { return "項目 " + std::to_string(k); };
    return steps;
}

TEST(RunOutcomeTextTest, ALongListOfRefusedItemsNamesTheFirstEight) {
    CRunOutcome outcome = Outcome(RunEnd::kDone, 165, 165);
    for (int k = 1; k <= 10; ++k) outcome.refused.push_back(k);
    EXPECT_EQ(RunOutcomeText(outcome, Named(), RunVerb::kSend),
              "全 165 項目のうち 155 項目を送信しました（送信しなかった項目: 項目 1、項目 2、項目 "
              "3、項目 4、項目 5、項目 6、項目 7、項目 8 ほか 2 項目）");
}

TEST(RunOutcomeTextTest, AnAnswerThatStoppedTheRunIsNamedWithItsStep) {
    CRunOutcome unknown = Outcome(RunEnd::kErrorReply, 165, 3);
    unknown.nFaultStep = 1;
    unknown.strReply = "Unknown Reply";
    EXPECT_EQ(RunOutcomeText(unknown, Named(), RunVerb::kSend),
              "Unknown Reply のため、ステップ 1（項目 1）で停止しました");

    // Without a name of its own a step is named as the command-line tool names it.
    CStepList plain = Named();
    plain.name = nullptr;
    CRunOutcome stale = Outcome(RunEnd::kErrorReply, 168, 0);
    stale.strReply = "Command Error";
    stale.bErrorReply = true;
    EXPECT_EQ(RunOutcomeText(stale, plain, RunVerb::kRead),
              "エラー応答 Command Error のため、読み込みの前に停止しました");
    stale.nFaultStep = 4;
    EXPECT_EQ(RunOutcomeText(stale, plain, RunVerb::kRead),
              "エラー応答 Command Error のため、ステップ 4（step 4）で停止しました");
}

TEST(RunOutcomeTextTest, AnEarlyEndStillNamesTheItemsRefusedBeforeIt) {
    CRunOutcome outcome = Outcome(RunEnd::kStopped, 165, 40);
    outcome.refused = {10};
    EXPECT_EQ(RunOutcomeText(outcome, Named(), RunVerb::kSend),
              "中止しました（送信しなかった項目: 項目 10）");
}

}  // namespace
