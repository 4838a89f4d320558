#include "dialogs/pattern_output_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "dialog_kit/corner_clicks.h"
#include "editors/table_grid.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/run_controls.h"
#include "tests/app/app_fixture.h"
#include "tests/support/program_state.h"
#include "tests/support/recording_sink.h"
#include "tests/support/switcher_answers.h"

namespace {

// Shows what the grid draws, and how often it is drawn.
class CProbeDlg : public CPatternOutputDlg {
public:
    std::string Cell(int i) const { return CPatternOutputDlg::GridCellText(i); }
    int CellsDrawn() const { return m_nDrawn; }

protected:
    std::string GridCellText(int i) const override {
        ++m_nDrawn;
        return CPatternOutputDlg::GridCellText(i);
    }

private:
    mutable int m_nDrawn = 0;
};

std::string IdentityCodes() {
    std::string codes;
    for (int out = 1; out <= kOutputs; ++out)
        codes += (out < 10 ? "I0" : "I") + std::to_string(out);
    return codes;
}

class PatternOutputDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        CaptureLines();
    }
    // The start-up state takes the tap away with everything else.
    void CaptureLines() {
        Link().SetLineTap([this](std::string_view line) { lines.emplace_back(line); });
    }
    void TearDown() override {
        dlg.reset();
        Link().SetLineTap({});
        ResetProgramState();
    }
    void Open() {
        dlg = std::make_unique<CProbeDlg>();
        dlg->show();
        // Painting starts once the window is exposed.
        for (int i = 0; i < 100 && !dlg->windowHandle()->isExposed(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // As the user picks an entry: the list changes, then the handler runs.
    void Pick(int id, int index) {
        QComboBox* combo = dlg->Combo(id);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void Click(int id) { dlg->Button(id)->click(); }
    QString Shown(int id) const { return dlg->Combo(id)->currentText(); }
    bool CloseEnabled() const { return dlg->Button(IDCANCEL)->isEnabled(); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) dlg->OnCycleTimer();
    }

    CRecordingSink sink;
    std::vector<std::string> lines;
    std::unique_ptr<CProbeDlg> dlg;
};

TEST_F(PatternOutputDlgTest, OpeningShowsTheSelectionOfTheModelOnThe32InputModel) {
    g_strFileName = "/data/studio.dat";
    g_nCornerClicks = 3;
    g_nCurMemory = 12;
    g_nCurOutput = 5;
    g_nPattern[12][5] = 40;
    g_nSameChannel = 33;
    Open();
    EXPECT_EQ(dlg->windowTitle(), "出力切換え File Name /data/studio.dat");
    EXPECT_EQ(g_nCornerClicks, 0);
    EXPECT_EQ(Shown(IDC_OUT_MEMORY), "12");
    EXPECT_EQ(Shown(IDC_OUT_OUTPUT), "06");
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A09");
    EXPECT_EQ(Shown(IDC_OUT_SAME_CHANNEL), "A02");
    EXPECT_EQ(dlg->Combo(IDC_OUT_CHANNEL)->count(), 96);
    EXPECT_EQ(dlg->Combo(IDC_OUT_SAME_CHANNEL)->itemText(31), "I32");
    EXPECT_EQ(dlg->Combo(IDC_OUT_SAME_CHANNEL)->itemText(32), "A01");
    EXPECT_FALSE(dlg->Combo(IDC_SLAVE_ADDRESS)->isEnabled());
}

TEST_F(PatternOutputDlgTest,
       OpeningOnThe64InputModelKeepsEveryInputAndACodeBeyondTheListShowsNone) {
    g_nModel = 1;
    g_nPattern[0][0] = 40;
    g_nSameChannel = 64;
    Open();
    EXPECT_EQ(dlg->Combo(IDC_OUT_CHANNEL)->count(), 128);
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "I41");
    EXPECT_EQ(Shown(IDC_OUT_SAME_CHANNEL), "A01");
    dlg.reset();

    g_nModel = 0;  // the 32-input lists end at code 95
    g_nPattern[0][0] = 100;
    g_nSameChannel = 96;
    Open();
    EXPECT_EQ(dlg->Combo(IDC_OUT_CHANNEL)->currentIndex(), -1);
    EXPECT_EQ(dlg->Combo(IDC_OUT_SAME_CHANNEL)->currentIndex(), -1);
}

TEST_F(PatternOutputDlgTest, APickedSourceIsStoredAsItsListIndexOnEitherModel) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model);
        ResetProgramState();
        CaptureLines();
        g_nModel = model;
        g_nCurMemory = 3;
        g_nCurOutput = 1;
        lines.clear();
        Open();
        Pick(IDC_OUT_CHANNEL, dlg->Combo(IDC_OUT_CHANNEL)->findText("A01"));
        EXPECT_EQ(g_nPattern[3][1], model == 0 ? 32 : 64);
        EXPECT_EQ(g_bModified, 1);
        EXPECT_EQ(dlg->Cell(1), "out02=A01");
        Click(IDC_SET);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].substr(0, 10), "TP03I01A01");
    }
}

TEST_F(PatternOutputDlgTest, CodesAreDrawnAndSentWithTheModelInForce) {
    g_nPattern[0][0] = 32;
    g_nPattern[0][31] = 127;
    g_nModel = 1;
    Open();
    EXPECT_EQ(dlg->Cell(0), "out01=I33");
    EXPECT_EQ(dlg->Cell(31), "out32=A64");
    Click(IDC_OUT_SWITCH);
    g_nModel = 0;
    EXPECT_EQ(dlg->Cell(0), "out01=A01");
    Click(IDC_OUT_SWITCH);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 5), "OTI33");
    EXPECT_EQ(lines[1].substr(0, 5), "OTA01");
}

TEST_F(PatternOutputDlgTest, WithNoneSwitchSendsRowZeroSetSendsNothingAndSameChannelFillsRowZero) {
    Open();
    EXPECT_EQ(Shown(IDC_OUT_MEMORY), "None");
    Click(IDC_SET);
    EXPECT_TRUE(lines.empty());
    Click(IDC_OUT_SWITCH);
    EXPECT_EQ(lines, std::vector<std::string>{"OT" + IdentityCodes() + "\r\n"});

    Pick(IDC_OUT_SAME_CHANNEL, 35);
    EXPECT_EQ(g_nSameChannel, 35);
    for (int code : g_nPattern[0]) EXPECT_EQ(code, 35);
    EXPECT_EQ(g_nPattern[1][0], 0);  // the memories keep theirs
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A04");
    EXPECT_EQ(dlg->Cell(31), "out32=A04");
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(PatternOutputDlgTest, ChoosingAMemoryRedrawsItsRowAndAnOutputOnlyMovesTheChannelList) {
    g_nPattern[12][0] = 70;
    g_nPattern[12][4] = 9;
    Open();
    const int drawn = dlg->CellsDrawn();
    Pick(IDC_OUT_MEMORY, 12);
    EXPECT_EQ(g_nCurMemory, 12);
    EXPECT_GT(dlg->CellsDrawn(), drawn);
    EXPECT_EQ(dlg->Cell(0), "out01=A39");
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A39");

    const int drawnBefore = dlg->CellsDrawn();
    Pick(IDC_OUT_OUTPUT, 4);
    EXPECT_EQ(g_nCurOutput, 4);
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "I10");
    EXPECT_EQ(dlg->CellsDrawn(), drawnBefore);
    EXPECT_EQ(g_bModified, 0);

    Click(IDC_OUT_SWITCH);  // a recall sends the number, never the row
    EXPECT_EQ(lines, std::vector<std::string>{"OTP12\r\n"});
}

TEST_F(PatternOutputDlgTest, AClickOnACellPicksItsOutputAndTheKeysWalkOutputsAndMemories) {
    g_nPattern[0][9] = 40;
    g_nPattern[1][9] = 3;
    Open();
    ClickAt(dlg->Table(), {245, 43});  // out10: second column of 160 pixels, second row
    EXPECT_EQ(g_nCurOutput, 9);
    EXPECT_EQ(Shown(IDC_OUT_OUTPUT), "10");
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A09");
    EXPECT_EQ(dlg->MarkedCell(), 9);
    for (int i = 0; i < kOutputs; ++i) {
        const CGridPoint centre = GridCellCentre(i, 160);
        ClickAt(dlg->Table(), {centre.x, centre.y});
        ASSERT_EQ(g_nCurOutput, i);
        ASSERT_EQ(dlg->Combo(IDC_OUT_OUTPUT)->currentIndex(), i);
    }

    PressKey(dlg->Table(), Qt::Key_Home);
    PressKey(dlg->Table(), Qt::Key_Right);
    PressKey(dlg->Table(), Qt::Key_Down);
    EXPECT_EQ(g_nCurOutput, 9);
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A09");
    const int drawn = dlg->CellsDrawn();
    PressKey(dlg->Table(), Qt::Key_PageDown);  // from "None" to memory 01
    EXPECT_EQ(g_nCurMemory, 1);
    EXPECT_EQ(Shown(IDC_OUT_MEMORY), "01");
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "I04");
    EXPECT_GT(dlg->CellsDrawn(), drawn);
    PressKey(dlg->Table(), Qt::Key_PageUp);
    PressKey(dlg->Table(), Qt::Key_PageUp);
    EXPECT_EQ(Shown(IDC_OUT_MEMORY), "None");
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(lines.empty());
}

TEST_F(PatternOutputDlgTest, DuringAllSetTheGridIgnoresClicksAndKeys) {
    Open();
    Click(IDC_ALL_SET);
    Ticks(1);
    const CGridPoint centre = GridCellCentre(12, 160);
    ClickAt(dlg->Table(), {centre.x, centre.y});
    PressKey(dlg->Table(), Qt::Key_Down);
    PressKey(dlg->Table(), Qt::Key_PageDown);
    EXPECT_EQ(g_nCurOutput, 0);
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(Shown(IDC_OUT_OUTPUT), "01");
    EXPECT_EQ(Shown(IDC_OUT_MEMORY), "None");
    EXPECT_EQ(dlg->MarkedCell(), 0);
}

TEST_F(PatternOutputDlgTest, AllSetStoresEveryMemoryWhateverIsSelectedThenFreesClose) {
    CSwitcherAnswers switcher;
    Link().SetLineTap([&](std::string_view line) {
        lines.emplace_back(line);
        switcher.Answer(line);
    });
    Open();
    Click(IDC_ALL_SET);
    EXPECT_FALSE(CloseEnabled());
    EXPECT_EQ(dlg->CycleTimer().interval(), 250);
    Ticks(63);
    EXPECT_EQ(dlg->Counter()->text(), "63");
    EXPECT_FALSE(CloseEnabled());
    Ticks(1);
    ASSERT_EQ(lines.size(), 64u);
    for (int k = 1; k <= 64; ++k) {
        EXPECT_EQ(lines[k - 1].substr(0, 4),
                  "TP" + std::string(k < 10 ? "0" : "") + std::to_string(k));
        EXPECT_EQ(lines[k - 1].size(), 102u);
    }
    EXPECT_EQ(dlg->Counter()->text(), "64");
    EXPECT_EQ(dlg->Status(), "全 64 項目を送信しました");
    EXPECT_TRUE(CloseEnabled());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_FALSE(dlg->CycleTimer().isActive());
}

TEST_F(PatternOutputDlgTest, AnErrorReplyStopsAllSetOnTheNextTick) {
    Link().SetLineTap([this](std::string_view line) {
        lines.emplace_back(line);
        if (lines.size() == 5) g_bErrorReply = 1;
    });
    Open();
    Click(IDC_ALL_SET);
    Ticks(6);
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(dlg->Counter()->text(), "5");
    EXPECT_TRUE(CloseEnabled());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(g_bErrorReply, 0);
    Ticks(3);
    EXPECT_EQ(lines.size(), 5u);
}

TEST_F(PatternOutputDlgTest, AStaleErrorStopsAllSetBeforeItSendsAnything) {
    g_bErrorReply = 1;
    Open();
    Click(IDC_ALL_SET);
    Ticks(2);
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_TRUE(CloseEnabled());
}

// What does nothing during the run is disabled for it, so that a pick is
// either taken or visibly refused.
TEST_F(PatternOutputDlgTest, DuringAllSetOnlyTheSlaveAddressListIsLive) {
    g_bRs485 = 1;
    g_nSlaveAddress = 3;
    Open();
    EXPECT_EQ(Shown(IDC_SLAVE_ADDRESS), "03");
    const int inert[] = {IDC_OUT_MEMORY, IDC_OUT_OUTPUT, IDC_OUT_CHANNEL, IDC_OUT_SAME_CHANNEL,
                         IDC_OUT_SWITCH, IDC_SET,        IDC_ALL_SET};
    const auto enabled = [this](int id) {
        return dlg->findChild<QWidget*>(QString::number(id))->isEnabled();
    };
    Click(IDC_ALL_SET);
    Ticks(1);
    for (int id : inert) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(IDC_SLAVE_ADDRESS));
    EXPECT_TRUE(enabled(IDOK));
    EXPECT_TRUE(enabled(IDC_RUN_STOP));
    // A pick that reaches a list anyway is still not taken.
    Pick(IDC_OUT_CHANNEL, 40);
    Pick(IDC_OUT_SAME_CHANNEL, 41);
    Pick(IDC_OUT_MEMORY, 7);
    Pick(IDC_OUT_OUTPUT, 9);
    Click(IDC_OUT_SWITCH);
    Click(IDC_SET);
    Click(IDC_ALL_SET);
    EXPECT_EQ(Shown(IDC_OUT_CHANNEL), "A09");  // the pick shows, the model ignores it
    EXPECT_EQ(g_nPattern[0][0], 0);
    EXPECT_EQ(g_nSameChannel, 0);
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(g_nCurOutput, 0);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_EQ(dlg->Cell(0), "out01=I01");

    Pick(IDC_SLAVE_ADDRESS, 7);
    EXPECT_EQ(g_nSlaveAddress, 7);
    Ticks(1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 6), "03TP01");
    EXPECT_EQ(lines[1].substr(0, 6), "07TP02");
    EXPECT_EQ(dlg->Counter()->text(), "2");

    g_bErrorReply = 1;  // the run ends: everything is live again
    Ticks(1);
    for (int id : inert) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled(IDC_RUN_STOP));
}

// OK stops the run as 中止 does; the dialog says so once the line in flight
// has its answer, and closes on the next OK.
TEST_F(PatternOutputDlgTest, OkDuringAllSetStopsTheCycleAfterTheLineInFlight) {
    Open();
    Click(IDC_ALL_SET);
    Ticks(3);
    dlg->accept();
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(dlg->CycleRunning());  // TP03 awaits its answer
    EXPECT_FALSE(dlg->Button(IDC_RUN_STOP)->isEnabled());
    dlg->accept();  // nothing more to stop: still open
    EXPECT_TRUE(dlg->isVisible());
    for (int i = 0; i < 3; ++i) Link().Replies().Push("GO\r\n");
    Ticks(1);
    EXPECT_FALSE(dlg->CycleRunning());
    EXPECT_FALSE(dlg->CycleTimer().isActive());
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(dlg->Counter()->text(), "3");
    EXPECT_EQ(dlg->Status(), "中止しました");
    EXPECT_TRUE(CloseEnabled());
    dlg->accept();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(sink.boxes.empty());
}

}  // namespace
