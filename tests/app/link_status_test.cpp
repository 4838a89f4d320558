// The link as the main window shows it: the status-bar pane with the port and
// its state, the communication log's notes, and a run that loses its port.
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/comm_log_window.h"
#include "app/link_pane.h"
#include "app/link_words.h"
#include "dialogs/all_items_dlg.h"
#include "link/link_context.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

using LinkStatusTest = AppTest;

TEST_F(LinkStatusTest, ThePaneShowsThePortAndItsStateAndFitsTheStrip) {
    WriteProfile("com_port=0");
    MakeFrame();
    // Laid out but not shown: Qt paints a window this size on its own thread
    // pool, which the thread sanitizer cannot follow.
    frame->layout()->activate();
    frame->statusBar()->layout()->activate();
    CLinkPane* pane = frame->LinkPane();
    ASSERT_NE(pane, nullptr);
    const QString port = QString::fromStdString("COM1 " + pty.SlavePath());
    EXPECT_EQ(pane->FullText(), port + " RS-232C Qelvar-32 接続済み");
    // The strip gives it room for the whole text.
    EXPECT_GE(pane->width(), pane->sizeHint().width());
    EXPECT_GE(pane->contentsRect().width(),
              pane->fontMetrics().horizontalAdvance(pane->FullText()));

    // Inside the 608-pixel strip, left of the clock, clear of the message pane.
    QStatusBar* bar = frame->statusBar();
    const QRect paneRect = pane->geometry();
    const QRect clockRect = frame->TimePane()->geometry();
    EXPECT_EQ(frame->width(), 608);
    EXPECT_GE(paneRect.left(), 100);
    EXPECT_LE(paneRect.right(), clockRect.left());
    EXPECT_LE(clockRect.right(), bar->width());

    pty.CloseMaster();  // the cable is pulled
    ASSERT_TRUE(ProcessUntil([&] {
        return pane->FullText() == port + " RS-232C Qelvar-32 ポート待ち";
    })) << pane->FullText().toStdString();
    EXPECT_TRUE(pane->toolTip().contains(
        QString::fromStdString(LinkFailureWords(Link().State().LastFailure()))));
    EXPECT_TRUE(sink.boxes.empty());  // no box when nothing runs

    frame->OnCommand(ID_COMM_LOG);
    auto* window = frame->findChild<CCommLogWindow*>();
    ASSERT_NE(window, nullptr);
    // The link's notes speak the program's language.
    const QString text = window->View()->toPlainText();
    const QString why = QString::fromStdString(LinkFailureWords(Link().State().LastFailure()));
    EXPECT_TRUE(text.contains(" ! " + port + ": 切断 (" + why + ")、ポート待ち"))
        << text.toStdString();
}

// On the virtual switcher the pane names it, not its pseudo-terminal, and it
// follows the address and the model as they change; a prompt too long to fit
// beside it has the strip to itself until "ﾚﾃﾞｨ" is back.
TEST_F(LinkStatusTest, ThePaneSaysWhatTheProgramTalksToAndGivesWayToALongPrompt) {
    CStartOptions options;
    options.bSimulator = true;
    options.nSimModel = 1;
    options.nSimRs485Address = 5;
    MakeFrame(options);
    frame->layout()->activate();
    frame->statusBar()->layout()->activate();
    CLinkPane* pane = frame->LinkPane();
    ASSERT_TRUE(ProcessUntil([&] { return Link().State().Connected(); }));
    EXPECT_EQ(pane->FullText(), "シミュレータ RS-485 05 Qelvar-64 接続済み");
    g_nSlaveAddress = 17;
    g_nModel = 0;
    EXPECT_TRUE(ProcessUntil(
        [&] { return pane->FullText() == "シミュレータ RS-485 17 Qelvar-32 接続済み"; }, 2500))
        << pane->FullText().toStdString();

    QStatusBar* bar = frame->statusBar();
    bar->showMessage("通信の設定");
    EXPECT_FALSE(pane->isHidden());
    bar->showMessage("スイッチャーの設定を読み出してメモリ上の設定と照合");
    EXPECT_TRUE(pane->isHidden());
    bar->clearMessage();
    EXPECT_EQ(bar->currentMessage(), "ﾚﾃﾞｨ");
    EXPECT_FALSE(pane->isHidden());
}

TEST_F(LinkStatusTest, ARunThatLosesItsPortStopsWithOneBoxAndKeepsItsCount) {
    WriteProfile("com_port=0");
    MakeFrame();
    CAllItemsDlg dlg(frame.get());
    dlg.Button(IDC_ALL_START)->click();
    for (int tick = 0; tick < 12; ++tick) dlg.OnCycleTimer();
    EXPECT_EQ(dlg.StepEdit()->text(), "12");
    pty.CloseMaster();
    ASSERT_TRUE(ProcessUntil([] { return !Link().State().Connected(); }));
    dlg.OnCycleTimer();
    EXPECT_FALSE(dlg.CycleRunning());
    EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
    EXPECT_EQ(dlg.StepEdit()->text(), "12");
    EXPECT_EQ(dlg.Progress()->value(), 12);
    EXPECT_EQ(
        sink.boxes,
        (std::vector<RecordedBox>{{BoxKind::kReplyError, "Port lost: COM1 " + pty.SlavePath()}}));
    dlg.OnCycleTimer();
    EXPECT_EQ(sink.boxes.size(), 1u);
}

}  // namespace
