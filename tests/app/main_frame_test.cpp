#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/comm_log_window.h"
#include "dialog_kit/corner_clicks.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"

namespace {

using MainFrameTest = AppTest;

TEST_F(MainFrameTest, StartUpReadsTheProfileResetsTheModelOpensThePortAndStartsTheThread) {
    WriteProfile("com_port=0\nrs_control=1\nqlv_model=1");
    g_nModel = 0;
    g_nSeqTime[0][0] = 9;
    g_bModified = 1;
    MakeFrame();
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(g_nModel, 1);  // read from the profile, kept by the reset that follows
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_EQ(g_bModified, 0);
    ASSERT_GE(g_hComm, 0);  // the profile's port
    EXPECT_TRUE(g_hReadThread.joinable());
    EXPECT_TRUE(sink.boxes.empty());

    // The thread serves the port and the replies reach the interpreter on this thread.
    SendCommand("ROTP\r\n");
    pty.Write("05OTP07\r\n");
    EXPECT_TRUE(ProcessUntil([] { return g_nCurMemory == 7; }));
}

// A device or a line fault that sends GO over and over raises no box: only a
// reply that answers a line the program sent does.
TEST_F(MainFrameTest, ABurstOfRepliesNobodyAskedForRaisesNoBox) {
    WriteProfile("com_port=0");
    MakeFrame();
    int received = 0;
    CSubscription count = Link().ReceivedLines().Watch([&](std::string_view) { ++received; });
    std::string burst;
    for (int i = 0; i < 200; ++i) burst += "GO\r\n";
    pty.Write(burst);
    EXPECT_TRUE(ProcessUntil([&] { return received == 200; }));
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes.size() << " boxes";
    SendCommand("TSDY\r\n");
    pty.Write("GO\r\n");
    EXPECT_TRUE(ProcessUntil([&] { return !sink.boxes.empty(); }));
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
}

TEST_F(MainFrameTest, AnIgnoredProfileValueIsNamedOnceInTheCommunicationLog) {
    WriteProfile("com_port=9   ; COM10\nqlv_model=1 ; Qelvar-64");
    MakeFrame();
    EXPECT_EQ(g_nComPort, 0);
    EXPECT_EQ(g_nModel, 1);
    ASSERT_GE(g_hComm, 0);  // COM1, on the pseudo-terminal
    SendCommand("TSDY\r\n");
    frame->OnCommand(ID_COMM_LOG);
    auto* window = frame->findChild<CCommLogWindow*>();
    ASSERT_NE(window, nullptr);
    const QStringList lines = window->View()->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(QString::fromStdString(
        " ! profile " + profile + ": com_port=9 ignored (not 0..5), 0 used")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" > TSDY<CR><LF>")) << lines[1].toStdString();
}

TEST_F(MainFrameTest, AMissingPortGivesTheFiveSetUpBoxesAndTheProgramRunsOn) {
    WriteProfile("com_port=0", "/dev/qelvar-missing");
    MakeFrame();
    std::vector<std::string> texts;
    for (const auto& box : sink.boxes) {
        EXPECT_EQ(box.kind, BoxKind::kSetupError);
        texts.push_back(box.text.substr(0, box.text.find('\n')));
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Miss! File Open", "Miss! Mask Set", "Miss! Buffer Set",
                                        "Miss! Time Out Set", "Miss! Set Comm State"}));
    EXPECT_TRUE(g_hReadThread.joinable());
    EXPECT_TRUE(frame->Action(ID_FILE_SAVE_SETTINGS)->isEnabled());
}

TEST_F(MainFrameTest, NoConnectComesOnceOnTheSeventhTick) {
    WriteProfile("com_port=0");
    MakeFrame();
    EXPECT_EQ(frame->MonitorTimer().interval(), 500);
    SendCommand("TSDY\r\n");
    for (int tick = 0; tick < 6; ++tick) frame->OnMonitorTimer();
    SendCommand("TSDY\r\n");  // does not restart the count
    EXPECT_TRUE(sink.boxes.empty());
    frame->OnMonitorTimer();
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    for (int tick = 0; tick < 20; ++tick) frame->OnMonitorTimer();
    EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST_F(MainFrameTest, AReplyInTimeCancelsNoConnect) {
    WriteProfile("com_port=0");
    MakeFrame();
    g_nSendStep = 1;  // no "Success" box to get in the way
    SendCommand("TSDY\r\n");
    for (int tick = 0; tick < 5; ++tick) frame->OnMonitorTimer();
    pty.Write("GO\r\n");
    ASSERT_TRUE(ProcessUntil([] { return g_bAwaitingReply == 0; }));
    for (int tick = 0; tick < 20; ++tick) frame->OnMonitorTimer();
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(MainFrameTest, TenContextMenuRequestsInTheCornerOpenTheReadBack) {
    WriteProfile("com_port=0");
    MakeFrame();
    int opened = 0;
    frame->SetCommandHandler(ID_SETTINGS_READ, [&] { ++opened; });
    for (int i = 0; i < 9; ++i) frame->OnContextMenuAt({5, 5});
    frame->OnContextMenuAt({25, 5});
    EXPECT_EQ(g_nCornerClicks, 0);
    for (int i = 0; i < 9; ++i) frame->OnContextMenuAt({5, 5});
    EXPECT_EQ(opened, 0);
    frame->OnContextMenuAt({5, 5});
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(g_nCornerClicks, 0);

    // The context-menu key arrives as (-1, -1) and counts too.
    for (int i = 0; i < 10; ++i) {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(300, 40), QPoint(300, 40));
        QApplication::sendEvent(frame.get(), &key);
    }
    EXPECT_EQ(opened, 2);
}

// A decorating window manager puts the title bar where the screen's corner is,
// so the corner is the top-left of the window's own area, menu bar included.
TEST_F(MainFrameTest, TheCornerIsMeasuredFromTheWindowsOwnTopLeft) {
    WriteProfile("com_port=0");
    MakeFrame();
    frame->show();
    frame->move(40, 60);  // as if below a title bar and beside a border
    ASSERT_TRUE(ProcessUntil([&] { return frame->mapToGlobal(QPoint(0, 0)).x() >= 40; }));
    int opened = 0;
    frame->SetCommandHandler(ID_SETTINGS_READ, [&] { ++opened; });
    QWidget* menuBar = frame->menuBar();
    ASSERT_EQ(menuBar->mapTo(frame.get(), QPoint(0, 0)), QPoint(0, 0));
    auto rightClick = [](QWidget* target, QPoint local) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, local, target->mapToGlobal(local));
        QApplication::sendEvent(target, &click);
    };

    for (int i = 0; i < 9; ++i) rightClick(menuBar, {5, 5});  // reaches the frame from the bar
    EXPECT_EQ(g_nCornerClicks, 9);
    rightClick(frame.get(), {19, 19});
    EXPECT_EQ(opened, 1);

    // Just outside the 20 x 20 pixels, on either side, starts the count again.
    for (QPoint outside : {QPoint(20, 5), QPoint(5, 20)}) {
        for (int i = 0; i < 9; ++i) rightClick(menuBar, {0, 0});
        rightClick(frame.get(), outside);
        EXPECT_EQ(g_nCornerClicks, 0);
    }
    EXPECT_EQ(opened, 1);
}

TEST_F(MainFrameTest, BarsMenusAndGeometry) {
    WriteProfile("com_port=0");
    MakeFrame();
    EXPECT_EQ(frame->width(), 608);
    EXPECT_EQ(frame->pos(), QPoint(0, 0));
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());  // no resizing
    EXPECT_EQ(frame->windowTitle(), "Qelvar");
    // Only the system menu and the minimise box: a window manager must not add
    // a maximise button, nor the status bar a size grip.
    const Qt::WindowFlags flags = frame->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(frame->statusBar()->isSizeGripEnabled());

    auto* bar = frame->findChild<QToolBar*>("59392");
    ASSERT_NE(bar, nullptr);
    const QStringList labels = {"O.S", "A.S", "S.A", "T.S", "I.T", "O.T", "T.P",
                                "I.C", "O.C", "C.S", "",    "",    "R.L"};
    ASSERT_EQ(bar->actions().size(), 13);
    for (int i = 0; i < 13; ++i) {
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(bar->actions()[i]));
        EXPECT_EQ(button->text(), labels[i]);
    }
    EXPECT_FALSE(bar->actions()[10]->isEnabled());
    EXPECT_FALSE(bar->actions()[11]->isEnabled());
    EXPECT_EQ(bar->actions()[12], frame->Action(ID_ROUTING_VIEW));
    // Every button shows whole in the fixed strip.
    frame->show();
    QApplication::processEvents();
    const QWidget* last = bar->widgetForAction(bar->actions()[12]);
    EXPECT_TRUE(last->isVisible());
    EXPECT_LE(last->mapTo(frame.get(), QPoint(last->width(), 0)).x(), frame->width());
    EXPECT_EQ(frame->Action(ID_AUTO_SEQUENCE)->statusTip(), "オート・シーケンスの設定");
    EXPECT_EQ(frame->Action(ID_AUTO_SEQUENCE)->toolTip(), "オート・シーケンス");

    for (int id : {ID_INDICATOR_KANA, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        EXPECT_NE(frame->findChild<QLabel*>(QString::number(id)), nullptr) << id;
    }
    EXPECT_FALSE(frame->TimePane()->text().isEmpty());
    EXPECT_EQ(frame->statusBar()->currentMessage(), "ﾚﾃﾞｨ");
}

TEST_F(MainFrameTest, TheSimulatorStandsInForThePort) {
    WriteProfile("com_port=0\nqlv_model=1", "/dev/qelvar-missing");
    CStartOptions options;
    options.bSimulator = true;
    options.nSimRs485Address = 4;
    MakeFrame(options);
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(frame->windowTitle(), "Qelvar - Simulator");
    EXPECT_EQ(g_nModel, 1);
    EXPECT_EQ(g_bRs485, 1);
    EXPECT_EQ(g_nSlaveAddress, 4);
    SendCommand("TSDM\r\n");
    ASSERT_TRUE(ProcessUntil([&] { return !sink.boxes.empty(); }));
    EXPECT_EQ(sink.boxes.front(), (RecordedBox{BoxKind::kSuccess, "Success"}));
    SendCommand("RAST01\r\n");
    g_nSeqTime[0][63] = 0;
    ASSERT_TRUE(ProcessUntil([] { return g_nSeqTime[0][63] == 3; }));
}

}  // namespace
