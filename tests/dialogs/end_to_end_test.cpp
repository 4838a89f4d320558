// The two batch dialogs against a virtual switcher on a pseudo-terminal: what
// the all-items run sends, the read-back brings back.
#include "dialogs/all_items_dlg.h"
#include "dialogs/settings_read_dlg.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "sim/switcher_server.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_tables.h"

namespace {

class EndToEndTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        CSwitcherState state = DefaultSwitcherState(0, 0);
        for (int o = 0; o < kOutputs; ++o)
            state.m_tables.m_nPattern[kDirectRow][o] = kOutputs - 1 - o;
        state.m_tables.m_nCurMemory = 5;
        server.SetState(state);
        ASSERT_TRUE(server.Start()) << server.Error();
        WriteProfile("com_port=0", server.DevicePath());
        MakeFrame();
    }
    void TearDown() override {
        AppTest::TearDown();  // the frame closes the port before the switcher goes
        server.Stop();
    }

    // Every in-use entry of every table changed from its default.
    static void FillModel() {
        for (int p = 0; p < kPatterns; ++p) {
            for (int c = 0; c < 32; ++c) g_nSeqTime[p][c] = (p + c) % (kMaxSeqTime + 1);
        }
        for (int m = 1; m <= kPatterns; ++m) {
            for (int o = 0; o < kOutputs; ++o) g_nPattern[m][o] = (m + o) % 32;
        }
        for (int c = 0; c < 32; ++c) {
            g_nInTitleDisp[c] = c % 2;
            g_nTitlePosition[c] = c % 3 == 0;
            g_nInCalendarDisp[c] = c % 5 == 0;
            std::string title;
            for (int i = 0; i < 15; ++i) title += "\x82\xa0";                   // あ
            g_strTitle[c] = title + "\x82" + static_cast<char>(0x60 + c % 26);  // Ａ..Ｚ
        }
        for (int o = 0; o < kOutputs; ++o) {
            g_nOutTitleDisp[o] = o / 2 % 2;
            g_nOutCalendarDisp[o] = o % 4 == 0;
        }
        g_nDateFormat = 0;
    }

    // Ticks the run to its end, letting each line's reply arrive before the next tick.
    static void Drive(CBatchRunDlg& dlg) {
        for (int tick = 0; dlg.CycleRunning() && tick < 400; ++tick) {
            const unsigned long sent = Link().LinesSent();
            const unsigned long replies = Link().RepliesInterpreted();
            dlg.OnCycleTimer();
            if (Link().LinesSent() == sent) continue;
            ASSERT_TRUE(ProcessUntil([replies] { return Link().RepliesInterpreted() > replies; }))
                << "no reply to tick " << tick + 1;
        }
        EXPECT_FALSE(dlg.CycleRunning());
    }

    CSwitcherServer server;
};

TEST_F(EndToEndTest, WhatAllItemsSendsTheReadBackBringsBack) {
    FillModel();
    const CSettingsTables sent = FileTables(g_settings);
    {
        CAllItemsDlg dlg;
        dlg.Button(IDC_ALL_START)->click();
        dlg.CycleTimer().stop();  // ticked by hand
        Drive(dlg);
    }
    EXPECT_EQ(server.LinesReceived(), 165);
    EXPECT_TRUE(FileTables(server.State().m_tables) == sent);

    ResetModelDefaults();
    ASSERT_FALSE(FileTables(g_settings) == sent);
    {
        CSettingsReadDlg dlg;
        dlg.Button(IDC_READ_START)->click();
        dlg.CycleTimer().stop();
        Drive(dlg);
    }
    EXPECT_EQ(server.LinesReceived(), 165 + 168);
    const CSettingsTables read = FileTables(g_settings);
    EXPECT_TRUE(read == sent);
    EXPECT_EQ(read.m_nSeqTime, sent.m_nSeqTime);
    EXPECT_EQ(read.m_nPattern, sent.m_nPattern);
    EXPECT_EQ(read.m_strTitle, sent.m_strTitle);
    EXPECT_EQ(g_nPattern[0], server.State().m_tables.m_nPattern[kDirectRow]);
    EXPECT_EQ(g_nCurMemory, 5);
    for (const auto& box : sink.boxes) EXPECT_EQ(box.kind, BoxKind::kSuccess) << box.text;
}

}  // namespace
