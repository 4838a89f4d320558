#include "batch/cycle_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/comm_settings.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"
#include "tests/support/wire_capture.h"

namespace {

class CycleStepsTest : public ::testing::Test {
protected:
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;

    // Runs a cycle to its end (or until stopAfterLine lines went out, when an
    // error reply to that line arrives before the next tick).
    int Run(CStepList steps, size_t stopAfterLine = 0) {
        CSendCycle cycle(std::move(steps));
        EXPECT_TRUE(cycle.Start());
        int ticks = 0;
        bool errorSent = false;
        while (cycle.Running() && ticks < 1000) {
            cycle.Tick();
            ++ticks;
            if (!errorSent && stopAfterLine && lines.size() == stopAfterLine) {
                g_bErrorReply = errorSent = true;
            }
        }
        lastStep = cycle.LastStep();
        return ticks;
    }

    // Each line's tag, with its number where it has one ("AST05", "CTI", "RCPI").
    std::vector<std::string> Tags() const {
        std::vector<std::string> tags;
        for (const auto& line : lines) {
            std::string body = line.substr(0, line.size() - 2);
            std::string tag = body.substr(0, 3);
            for (const char* numbered : {"RAST", "RTP", "RCA", "AST", "TP", "CA"}) {
                if (body.starts_with(numbered)) {
                    tag = body.substr(0, std::string(numbered).size() + 2);
                    break;
                }
            }
            if (body.starts_with("R") && tag.size() == 3) tag = body;
            tags.push_back(tag);
        }
        return tags;
    }

    static std::vector<std::string> Numbered(const std::string& tag, int count) {
        std::vector<std::string> out;
        for (int i = 1; i <= count; ++i)
            out.push_back(tag + (i < 10 ? "0" : "") + std::to_string(i));
        return out;
    }

    static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> out;
        for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
        return out;
    }

    int lastStep = 0;
    CRecordingSink sink;
};

TEST_F(CycleStepsTest, AllItemsSendsEveryTableInOrderOnBothModels) {
    const auto displays = std::vector<std::string>{"CTI", "CTO", "CPI", "TSI", "TSO"};
    Run(AllItemsSteps());
    EXPECT_EQ(lines.size(), 165u);
    EXPECT_EQ(Tags(),
              Join({Numbered("AST", 64), Numbered("TP", 64), displays, Numbered("CA", 32)}));
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(lastStep, 165);

    lines.clear();
    g_nModel = 1;
    Run(AllItemsSteps());
    EXPECT_EQ(lines.size(), 197u);
    EXPECT_EQ(Tags(),
              Join({Numbered("AST", 64), Numbered("TP", 64), displays, Numbered("CA", 64)}));
    EXPECT_EQ(lines.back().size(), 70u);
}

TEST_F(CycleStepsTest, AllItemsLeavesOutAnAllSkipPatternAndABadTitleWithOneWarningEach) {
    g_nSeqTime[9].fill(0);
    g_strTitle[2] = "AB";  // half-width: not a double-byte character
    Run(AllItemsSteps());
    EXPECT_EQ(lines.size(), 163u);
    EXPECT_EQ(Tags()[8], "AST09");
    EXPECT_EQ(Tags()[9], "AST11");
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{
                  {BoxKind::kWarning, "全部をスキップに設定することは､できません！"},
                  {BoxKind::kWarning, "ＪＩＳ第１水準,第２水準以外の字が選択されてます"}}));
}

TEST_F(CycleStepsTest, AllItemsStopsOnTheTickAfterAnErrorReply) {
    Run(AllItemsSteps(), 70);
    EXPECT_EQ(lines.size(), 70u);
    EXPECT_EQ(lastStep, 70);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(g_bErrorReply, 0);
}

TEST_F(CycleStepsTest, AllItemsCarriesTheSlaveAddressOnRs485) {
    g_bRs485 = 1;
    g_nSlaveAddress = 7;
    Run(AllItemsSteps());
    for (const auto& line : lines) ASSERT_EQ(line.substr(0, 2), "07") << line;
}

TEST_F(CycleStepsTest, ReadBackSendsItsCommandsAndEndsOnTheTickAfterTheLast) {
    int ticks = Run(ReadBackSteps());
    EXPECT_EQ(ticks, 169);
    EXPECT_EQ(lines.size(), 168u);
    EXPECT_EQ(lines[127], "RTP64\r\n");
    EXPECT_EQ(lines[128], "RCPI\r\n");
    EXPECT_EQ(lines[135], "RTSD\r\n");
    EXPECT_EQ(lines[136], "RCA01\r\n");
    EXPECT_EQ(lines.back(), "RCA32\r\n");
    const std::vector<std::string> singles = {"RCPI", "RCTI", "RCTO", "ROT",
                                              "ROTP", "RTSI", "RTSO", "RTSD"};
    EXPECT_EQ(Tags(),
              Join({Numbered("RAST", 64), Numbered("RTP", 64), singles, Numbered("RCA", 32)}));

    lines.clear();
    g_nModel = 1;
    EXPECT_EQ(Run(ReadBackSteps()), 201);
    EXPECT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.back(), "RCA64\r\n");
}

TEST_F(CycleStepsTest, ReadBackPercentagesAndAnErrorAtStep74) {
    EXPECT_EQ(ReadBackStepCount(32), 168);
    EXPECT_EQ(ReadBackStepCount(64), 200);
    EXPECT_EQ(ReadBackPercent(1, 200), 0);
    EXPECT_EQ(ReadBackPercent(100, 200), 50);
    EXPECT_EQ(ReadBackPercent(200, 200), 100);
    EXPECT_EQ(ReadBackPercent(74, 168), 44);
    EXPECT_EQ(ReadBackCommand(169, 32), "");

    Run(ReadBackSteps(), 74);
    EXPECT_EQ(lastStep, 74);
    EXPECT_EQ(lines.back(), "RTP10\r\n");
}

TEST_F(CycleStepsTest, EditorCyclesSendTheirTables) {
    Run(AutoSequenceSteps());
    EXPECT_EQ(Tags(), Numbered("AST", 64));

    lines.clear();
    g_nCurMemory = 0;  // "None" selected: All set still sends the 64 memories
    Run(MemoryPatternSteps());
    EXPECT_EQ(Tags(), Numbered("TP", 64));

    lines.clear();
    Run(TitleSteps());
    EXPECT_EQ(Tags(), Numbered("CA", 32));
    lines.clear();
    g_nModel = 1;
    Run(TitleSteps());
    EXPECT_EQ(Tags(), Numbered("CA", 64));
}

TEST_F(CycleStepsTest, TimersAndPeriods) {
    EXPECT_EQ(AutoSequenceSteps().nTimerId, 2);
    EXPECT_EQ(TitleSteps().nTimerId, 4);
    EXPECT_EQ(MemoryPatternSteps().nTimerId, 6);
    EXPECT_EQ(AllItemsSteps().nTimerId, 7);
    EXPECT_EQ(ReadBackSteps().nTimerId, 8);
    EXPECT_EQ(AutoSequenceSteps().nPeriodMs, 250);
    EXPECT_EQ(AllItemsSteps().nPeriodMs, 300);
    EXPECT_EQ(ReadBackSteps().nPeriodMs, 300);
    EXPECT_EQ(AllItemsSteps().describe(130), "CTO");
    EXPECT_EQ(AllItemsSteps().describe(134), "title of channel 01");
    EXPECT_EQ(ReadBackSteps().describe(137), "RCA01");
}

}  // namespace
