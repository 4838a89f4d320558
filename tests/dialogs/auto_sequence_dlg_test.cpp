#include <QAction>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/auto_sequence_dlg.h"
#include "editors/table_grid.h"
#include "link/comm_settings.h"
#include "link/connection_monitor.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/run_controls.h"
#include "tests/app/app_fixture.h"

namespace {

// The dialog with its grid's contents in reach.
class CGridView : public CAutoSequenceDlg {
public:
    using CAutoSequenceDlg::GridCellText;
    using CAutoSequenceDlg::GridEntryCount;
};

class AutoSequenceDlgTest : public ::testing::Test {
protected:
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;
    CRecordingSink sink;
};

TEST_F(AutoSequenceDlgTest, OpensOnTheRememberedSelections) {
    g_nCurSeqPattern = 4;
    g_nCurChannel = 7;
    g_nSeqTime[4][7] = 0;
    g_nSameTime = 9;
    g_strFileName = "/home/op/site.dat";
    g_nCornerClicks = 3;
    CAutoSequenceDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "オート・シーケンス File Name /home/op/site.dat");
    EXPECT_EQ(g_nCornerClicks, 0);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_PATTERN)->currentText(), "05");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentText(), "08");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->count(), 32);  // trimmed on the 32-input model
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->currentText(), "SKIP");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->count(), 61);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_SAME_TIME)->currentText(), "10");
    EXPECT_FALSE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());  // RS-232C
    EXPECT_EQ(dlg.Combo(IDC_SLAVE_ADDRESS)->currentIndex(), -1);
}

TEST_F(AutoSequenceDlgTest, AChannelBeyondTheModelShowsNoSelectionAndRs485ShowsTheAddress) {
    g_nCurChannel = 40;
    g_bRs485 = 1;
    g_nSlaveAddress = 12;
    CAutoSequenceDlg dlg;
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentIndex(), -1);
    EXPECT_TRUE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());
    EXPECT_EQ(dlg.Combo(IDC_SLAVE_ADDRESS)->currentText(), "12");

    g_nModel = 1;
    CAutoSequenceDlg wide;
    EXPECT_EQ(wide.Combo(IDC_SEQ_CHANNEL)->count(), 64);
    EXPECT_EQ(wide.Combo(IDC_SEQ_CHANNEL)->currentText(), "41");
}

TEST_F(AutoSequenceDlgTest, TheGridShowsThePatternsChannelsOfTheModel) {
    g_nSeqTime[0][16] = 0;
    CGridView dlg;
    EXPECT_EQ(dlg.GridEntryCount(), 32);
    EXPECT_EQ(dlg.GridCellText(0), "ch01=03");
    EXPECT_EQ(dlg.GridCellText(16), "ch17=SKIP");
    EXPECT_EQ(GridCellPosition(0, 80), (CGridPoint{10, 16}));
    EXPECT_EQ(GridCellPosition(31, 80), (CGridPoint{250, 156}));  // 4 columns of 8
    EXPECT_EQ(GridCellPosition(63, 80), (CGridPoint{570, 156}));  // 8 columns on 64 inputs
    g_nModel = 1;
    EXPECT_EQ(dlg.GridEntryCount(), 64);
}

TEST_F(AutoSequenceDlgTest, ListsWriteTheModelAtOnceUnlessACycleRuns) {
    CAutoSequenceDlg dlg;
    Pick(dlg.Combo(IDC_SEQ_PATTERN), 1);
    EXPECT_EQ(g_nCurSeqPattern, 1);
    EXPECT_EQ(g_bModified, 0);  // choosing a pattern or channel changes nothing
    Pick(dlg.Combo(IDC_SEQ_CHANNEL), 4);
    Pick(dlg.Combo(IDC_SEQ_TIME), 60);
    EXPECT_EQ(g_nSeqTime[1][4], 60);
    EXPECT_EQ(g_bModified, 1);

    g_nSeqTime[1][40] = 7;
    Pick(dlg.Combo(IDC_SEQ_SAME_TIME), 9);  // "10"
    for (int c = 0; c < 32; ++c) ASSERT_EQ(g_nSeqTime[1][c], 10) << c;
    EXPECT_EQ(g_nSeqTime[1][40], 7);  // beyond the model: kept
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->currentText(), "10");

    g_nSendStep = 3;  // some cycle runs
    Pick(dlg.Combo(IDC_SEQ_TIME), 0);
    EXPECT_EQ(g_nSeqTime[1][4], 10);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->currentText(), "SKIP");  // the list shows the pick
    Pick(dlg.Combo(IDC_SLAVE_ADDRESS), 9);
    EXPECT_EQ(g_nSlaveAddress, 9);  // stays live
    dlg.Button(IDC_SET)->click();
    EXPECT_TRUE(lines.empty());
}

TEST_F(AutoSequenceDlgTest, SetSendsThePatternOrWarnsWhenEveryChannelIsSkipped) {
    g_nCurSeqPattern = 1;
    g_nSeqTime[1][0] = 5;
    g_nSeqTime[1][1] = 0;
    CAutoSequenceDlg dlg;
    dlg.Button(IDC_SET)->click();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(
        lines[0], "AST020500" + std::string() + [] {
            std::string t;
            for (int i = 0; i < 30; ++i) t += "03";
            return t;
        }() + "\r\n");

    g_nSeqTime[1].fill(0);
    g_nSeqTime[1][50] = 4;  // beyond the 32-input model: still all SKIP
    dlg.Button(IDC_SET)->click();
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{
                              {BoxKind::kWarning, "全部をスキップに設定することは､できません！"}}));
}

TEST_F(AutoSequenceDlgTest, AllSetSendsThe64PatternsAndLeavesOutAnAllSkipOne) {
    wire.AnswerAsSwitcher();
    g_nSeqTime[4].fill(0);
    CAutoSequenceDlg dlg;
    dlg.Button(IDC_ALL_SET)->click();
    EXPECT_EQ(dlg.CycleTimer().interval(), 250);
    EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
    for (int tick = 0; tick < 64; ++tick) {
        dlg.OnCycleTimer();
        if (tick == 10) {
            EXPECT_EQ(dlg.Counter()->text(), "11");
        }
    }
    ASSERT_EQ(lines.size(), 63u);
    EXPECT_EQ(lines[0].substr(0, 5), "AST01");
    EXPECT_EQ(lines[4].substr(0, 5), "AST06");
    EXPECT_EQ(lines.back().substr(0, 5), "AST64");
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(dlg.Counter()->text(), "64");  // the last step stays shown
    EXPECT_EQ(dlg.Status(),
              "全 64 項目のうち 63 項目を送信しました（送信しなかった項目: パターン 05）");
    EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_FALSE(dlg.CycleTimer().isActive());
}

TEST_F(AutoSequenceDlgTest, AnErrorReplyStopsAllSetWithTheCounterKeepingItsNumber) {
    CAutoSequenceDlg dlg;
    dlg.Button(IDC_ALL_SET)->click();
    for (int tick = 0; tick < 5; ++tick) dlg.OnCycleTimer();
    g_bErrorReply = 1;
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(dlg.Counter()->text(), "5");
    EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
    EXPECT_EQ(g_nSendStep, 0);
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 5u);
}

// OK, Esc and the close box stop the run as 中止 does: the line in flight is
// answered, nothing more goes out, and the dialog stays to say so.
TEST_F(AutoSequenceDlgTest, ClosingDuringACycleStopsItAfterTheLineInFlight) {
    wire.AnswerAsSwitcher();
    const std::function<void(CAutoSequenceDlg&)> closings[] = {
        [](CAutoSequenceDlg& dlg) { dlg.accept(); },  // OK stays enabled
        [](CAutoSequenceDlg& dlg) { EXPECT_FALSE(dlg.close()); },
        [](CAutoSequenceDlg& dlg) { PressKey(&dlg, Qt::Key_Escape); },
        [](CAutoSequenceDlg& dlg) { dlg.Button(IDC_RUN_STOP)->click(); },
    };
    for (const auto& closing : closings) {
        lines.clear();
        CAutoSequenceDlg dlg;
        dlg.show();
        EXPECT_FALSE(dlg.Button(IDC_RUN_STOP)->isEnabled());
        dlg.Button(IDC_ALL_SET)->click();
        EXPECT_TRUE(dlg.Button(IDC_RUN_STOP)->isEnabled());
        dlg.OnCycleTimer();
        dlg.OnCycleTimer();
        EXPECT_EQ(g_nSendStep, 3);
        closing(dlg);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(g_nSendStep, 0);
        EXPECT_FALSE(dlg.CycleRunning());  // the answer was in
        for (int tick = 0; tick < 5; ++tick) dlg.OnCycleTimer();
        EXPECT_EQ(lines.size(), 2u);
        EXPECT_EQ(dlg.Counter()->text(), "2");
        EXPECT_EQ(dlg.Status(), "中止しました");
        EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
        EXPECT_FALSE(dlg.Button(IDC_RUN_STOP)->isEnabled());
        dlg.close();  // now it closes
        EXPECT_FALSE(dlg.isVisible());
    }
    EXPECT_TRUE(sink.boxes.empty());
}

// All set to a switcher that does not answer ends with the monitor's one box.
TEST_F(AutoSequenceDlgTest, NoConnectStopsAllSetWithTheCounterKeepingItsNumber) {
    CAutoSequenceDlg dlg;
    dlg.Button(IDC_ALL_SET)->click();
    for (int ms = 50; ms <= 10000; ms += 50) {
        if (ms % 250 == 0) dlg.OnCycleTimer();
        if (ms % 500 == 0) MonitorTick();
    }
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(lines.size(), 14u);  // one each 250 ms until the report 3.5 s in
    EXPECT_EQ(dlg.Counter()->text(), "14");
    EXPECT_EQ(dlg.Status(), "No Connect のため停止しました");
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_TRUE(dlg.Button(IDC_ALL_SET)->isEnabled());
}

TEST_F(AutoSequenceDlgTest, AClickOnACellPicksItsChannelAsTheListWouldAndMarksIt) {
    g_nCurSeqPattern = 2;
    g_nSeqTime[2][9] = 0;
    CAutoSequenceDlg dlg;
    dlg.show();
    ClickAt(dlg.Table(), {125, 43});  // ch10: second column, second row
    EXPECT_EQ(g_nCurChannel, 9);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentText(), "10");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->currentText(), "SKIP");
    EXPECT_EQ(dlg.MarkedCell(), 9);
    EXPECT_EQ(g_bModified, 0);
    for (int i = 0; i < 32; ++i) {
        const CGridPoint centre = GridCellCentre(i, 80);
        ClickAt(dlg.Table(), {centre.x, centre.y});
        ASSERT_EQ(g_nCurChannel, i);
        ASSERT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentIndex(), i);
    }
    ClickAt(dlg.Table(), {335, 43});  // beside the fourth and last column
    EXPECT_EQ(g_nCurChannel, 31);

    // The mark is drawn around ch32's text, and nowhere else.
    const QImage table = dlg.Table()->grab().toImage();
    const CGridRect marked = GridCellRect(31, 80);
    const CGridRect other = GridCellRect(30, 80);
    EXPECT_LT(qGray(table.pixel(marked.x + 1, marked.y + 10)), 128);
    EXPECT_LT(qGray(table.pixel(marked.x + 20, marked.y + 1)), 128);
    EXPECT_GT(qGray(table.pixel(other.x + 1, other.y + 10)), 128);
}

TEST_F(AutoSequenceDlgTest, ArrowKeysWalkTheChannelsAndPageKeysThePatterns) {
    g_nCurChannel = 9;
    g_nSeqTime[1][9] = 7;
    CAutoSequenceDlg dlg;
    QFrame* table = dlg.Table();
    PressKey(table, Qt::Key_Down);
    EXPECT_EQ(g_nCurChannel, 10);
    PressKey(table, Qt::Key_Right);
    EXPECT_EQ(g_nCurChannel, 18);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentText(), "19");
    PressKey(table, Qt::Key_Left);
    PressKey(table, Qt::Key_Up);
    EXPECT_EQ(g_nCurChannel, 9);
    EXPECT_EQ(dlg.MarkedCell(), 9);

    PressKey(table, Qt::Key_PageDown);
    EXPECT_EQ(g_nCurSeqPattern, 1);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_PATTERN)->currentText(), "02");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_TIME)->currentText(), "07");  // the value list follows
    PressKey(table, Qt::Key_PageUp);
    PressKey(table, Qt::Key_PageUp);  // no pattern before 01
    EXPECT_EQ(g_nCurSeqPattern, 0);

    PressKey(table, Qt::Key_End);
    PressKey(table, Qt::Key_Down);  // no channel after 32
    PressKey(table, Qt::Key_Right);
    EXPECT_EQ(g_nCurChannel, 31);
    EXPECT_EQ(g_bModified, 0);

    g_nCurChannel = 40;  // beyond the model: no cell marked, the keys start at ch01
    EXPECT_EQ(dlg.MarkedCell(), -1);
    PressKey(table, Qt::Key_Up);
    EXPECT_EQ(g_nCurChannel, 0);
}

TEST_F(AutoSequenceDlgTest, TheGridIsInertWhileACycleRunsAsTheListsAre) {
    CAutoSequenceDlg dlg;
    dlg.show();
    dlg.Button(IDC_ALL_SET)->click();
    dlg.OnCycleTimer();
    const CGridPoint centre = GridCellCentre(5, 80);
    ClickAt(dlg.Table(), {centre.x, centre.y});
    PressKey(dlg.Table(), Qt::Key_Down);
    PressKey(dlg.Table(), Qt::Key_PageDown);
    EXPECT_EQ(g_nCurChannel, 0);
    EXPECT_EQ(g_nCurSeqPattern, 0);
    EXPECT_EQ(dlg.Combo(IDC_SEQ_CHANNEL)->currentText(), "01");
    EXPECT_EQ(dlg.Combo(IDC_SEQ_PATTERN)->currentText(), "01");
    for (int tick = 0; tick < 63; ++tick) dlg.OnCycleTimer();
    ASSERT_EQ(g_nSendStep, 0);
    ClickAt(dlg.Table(), {centre.x, centre.y});
    EXPECT_EQ(g_nCurChannel, 5);
}

TEST_F(AutoSequenceDlgTest, TheMenuAndTheToolBarOpenIt) {
    CTempDir dir;
    CPtyPair pty;
    Link().SetProfilePath(dir.File("p.ini"));
    Link().SetCommPortOverride(pty.SlavePath());
    {
        CMainFrame frame;
        EXPECT_TRUE(frame.Action(ID_AUTO_SEQUENCE)->isEnabled());
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget* dlg = QApplication::activeModalWidget();
            title = dlg->windowTitle();
            dlg->close();
        });
        frame.Action(ID_AUTO_SEQUENCE)->trigger();
        EXPECT_EQ(title, "オート・シーケンス File Name ");
    }
    Link().SetCommPortOverride("");
    Link().SetProfilePath("");
}

}  // namespace
