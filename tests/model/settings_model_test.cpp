#include "model/settings_model.h"

#include <gtest/gtest.h>

#include "sim/switcher_state.h"

namespace {

class SettingsModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetModelDefaults();
        g_nModel = 0;
        g_nSendStep = 0;
        g_bErrorReply = 0;
    }
};

// Puts a non-default value into every field, so a reset that skips one shows.
void ScrambleEverything() {
    for (auto& title : g_strTitle) title = "x";
    for (auto& row : g_nPattern) row.fill(77);
    g_nOutCalendarDisp.fill(0);
    g_nInCalendarDisp.fill(0);
    g_nTitlePosition.fill(0);
    g_nOutTitleDisp.fill(0);
    g_nInTitleDisp.fill(0);
    for (auto& pattern : g_nSeqTime) pattern.fill(0);
    g_nDateFormat = 2;
    g_nCurSeqPattern = 5;
    g_nSameTime = 9;
    g_nCurChannel = 40;
    g_nCurOutput = 7;
    g_nCurMemory = 12;
    g_nSameChannel = 33;
    g_nSameOutCalendar = 0;
    g_nSameInCalendar = 0;
    g_nSamePosition = 0;
    g_nSameOutTitle = 0;
    g_nSameInTitle = 0;
    g_nSlaveAddress = 31;
    g_strFileName = "/some/where.dat";
    g_bModified = 1;
}

void ExpectDefaultTables() {
    // All 64 input entries, not only the 32 the model uses.
    for (int ch = 0; ch < kMaxInputs; ++ch) {
        SCOPED_TRACE("input " + std::to_string(ch));
        EXPECT_EQ(g_strTitle[ch], "");
        EXPECT_EQ(g_nInCalendarDisp[ch], 1);
        EXPECT_EQ(g_nTitlePosition[ch], 1);
        EXPECT_EQ(g_nInTitleDisp[ch], 1);
    }
    for (int out = 0; out < kOutputs; ++out) {
        SCOPED_TRACE("output " + std::to_string(out));
        EXPECT_EQ(g_nOutCalendarDisp[out], 1);
        EXPECT_EQ(g_nOutTitleDisp[out], 1);
        // Every row, the "None" row 0 included, routes input n to output n.
        for (int row = 0; row < kPatternRows; ++row)
            EXPECT_EQ(g_nPattern[row][out], out) << "row " << row;
    }
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
        for (int ch = 0; ch < kMaxInputs; ++ch)
            EXPECT_EQ(g_nSeqTime[pattern][ch], 3) << "pattern " << pattern << " ch " << ch;
    }
    EXPECT_EQ(g_nDateFormat, 0);
}

void ExpectDefaultSelectionsAndDocument() {
    EXPECT_EQ(g_nCurSeqPattern, 0);
    EXPECT_EQ(g_nSameTime, 2);  // shows "03"
    EXPECT_EQ(g_nCurChannel, 0);
    EXPECT_EQ(g_nCurOutput, 0);
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(g_nSameChannel, 0);
    EXPECT_EQ(g_nSameOutCalendar, 1);
    EXPECT_EQ(g_nSameInCalendar, 1);
    EXPECT_EQ(g_nSamePosition, 1);
    EXPECT_EQ(g_nSameOutTitle, 1);
    EXPECT_EQ(g_nSameInTitle, 1);
    EXPECT_EQ(g_nSlaveAddress, 0);
    EXPECT_EQ(g_strFileName, "");
    EXPECT_EQ(g_bModified, 0);
}

TEST_F(SettingsModelTest, ResetRestoresEveryDefault) {
    ScrambleEverything();
    ResetModelDefaults();
    ExpectDefaultTables();
    ExpectDefaultSelectionsAndDocument();
}

TEST_F(SettingsModelTest, ResetKeepsModelAndCycleState) {
    ScrambleEverything();
    g_nModel = 1;
    g_nSendStep = 4;
    g_bErrorReply = 1;
    ResetModelDefaults();
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(g_nSendStep, 4);
    EXPECT_EQ(g_bErrorReply, 1);
    ExpectDefaultTables();
}

// One set of defaults serves the program and the virtual switcher.
TEST_F(SettingsModelTest, AFreshVirtualSwitcherHoldsTheSameDefaults) {
    for (int model : {0, 1}) {
        SCOPED_TRACE("model " + std::to_string(model));
        ScrambleEverything();
        g_settings = DefaultSwitcherState(model, 7).m_tables;
        ExpectDefaultTables();
        EXPECT_EQ(g_nCurMemory, 0);  // "None": the outputs as switched directly
        EXPECT_EQ(g_nModel, model);
    }
}

TEST_F(SettingsModelTest, InputChannelCountFollowsModel) {
    EXPECT_EQ(InputChannelCount(), 32);
    g_nModel = 1;
    EXPECT_EQ(InputChannelCount(), 64);
}

}  // namespace
