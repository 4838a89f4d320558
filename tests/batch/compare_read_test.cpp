// A compare reads the switcher into a copy: the model stays as it is, and what
// did not come back is named rather than taken as equal.
#include <gtest/gtest.h>

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "model/settings_model.h"
#include "sim/virtual_switcher.h"
#include "tests/support/file_tables.h"
#include "tests/support/recording_sink.h"
#include "tests/support/wire_capture.h"

namespace {

class CompareReadTest : public ::testing::Test {
protected:
    // Runs the compare's steps; the switcher answers each read with answer(k).
    void RunCompare(const std::function<std::string(int k)>& answer) {
        Run(CompareReadSteps(), answer);
    }
    void Run(CStepList steps, const std::function<std::string(int k)>& answer) {
        CSendCycle cycle(std::move(steps));
        ASSERT_TRUE(cycle.Start());
        while (cycle.Running()) {
            const size_t before = wire.lines.size();
            cycle.Tick();
            if (wire.lines.size() == before) continue;
            const std::string reply = answer(cycle.LastStep());
            if (!reply.empty()) DispatchLine(reply);
        }
    }
    // What a fresh switcher answers the read of step k, with its direct row
    // reversed, memory 07 recalled and the date format month-day-year.
    static std::string Default(int k) {
        static CVirtualSwitcher sw = [] {
            CVirtualSwitcher s;
            CSwitcherState state = s.State();
            for (int o = 0; o < kOutputs; ++o)
                state.m_tables.m_nPattern[kDirectRow][o] = kOutputs - 1 - o;
            state.m_tables.m_nCurMemory = 7;
            state.m_tables.m_nDateFormat = 1;
            s.SetState(state);
            return s;
        }();
        return sw.Answer(ReadBackCommand(k, 32)).value_or("");
    }

    CWireCapture wire;
    CRecordingSink sink;
};

TEST_F(CompareReadTest, AnswersLandInTheCopyAndTheModelStaysAsItWas) {
    g_nSeqTime[0][0] = 9;
    g_strTitle[4] = "\x96\x7b";  // 本
    g_nCurMemory = 3;
    g_nPattern[0][0] = 5;
    g_bModified = 1;
    const CSettingsTables before = FileTables(g_settings);
    RunCompare(Default);
    EXPECT_EQ(wire.lines.size(), 168u);
    EXPECT_EQ(FileTables(g_settings), before);
    EXPECT_EQ(g_nCurMemory, 3);
    EXPECT_EQ(g_nPattern[0][0], 5);
    EXPECT_EQ(g_bModified, 1);

    const CReadBackCopy* copy = Link().ReadCopy();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_tables.m_nCurMemory, 7);
    EXPECT_EQ(copy->m_tables.m_nPattern[kDirectRow][0], 31);
    const CCompareResult result = CompareWithReadCopy();
    EXPECT_TRUE(result.Complete());
    ASSERT_EQ(result.differences.size(), 3u);  // the time, the date format, the title
    EXPECT_EQ(result.differences[0].table, SettingsTable::kSeqTime);
    EXPECT_EQ(result.differences[1].table, SettingsTable::kDateFormat);
    EXPECT_EQ(result.differences[2].table, SettingsTable::kTitle);
    EXPECT_TRUE(CompareWithReadCopy(CompareScope::kAllItemsRun).differences.size() == 2);

    // A read-back afterwards reads into a copy of its own, which goes into the
    // model once every read has been answered.
    Run(ReadBackSteps(), Default);
    EXPECT_EQ(g_nSeqTime[0][0], 9);
    EXPECT_TRUE(UnreadRequests().empty());
    ApplyReadCopy();
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_EQ(g_nCurMemory, 7);
    EXPECT_EQ(g_nPattern[0][0], 31);
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(CompareReadTest, ReadsWithoutAReadableAnswerAreNamedNotTakenAsEqual) {
    RunCompare([](int k) {
        if (k == 5) return std::string();                 // no answer
        if (k == 137) return std::string("CA01XYZ\r\n");  // unreadable
        if (k == 130) return std::string("GO\r\n");       // not a data line
        return Default(k);
    });
    const CCompareResult result = CompareWithReadCopy();
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(ReadRequestList(result.missing), "RAST05, RCTI, RCA01");
    EXPECT_FALSE(result.Same());
}

}  // namespace
