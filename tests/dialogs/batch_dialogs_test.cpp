#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/qt_message_sink.h"
#include "dialogs/all_items_dlg.h"
#include "dialogs/settings_compare_dlg.h"
#include "dialogs/settings_read_dlg.h"
#include "editors/title_send.h"
#include "link/connection_monitor.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/command_ids.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_tables.h"
#include "tests/support/switcher_answers.h"

namespace {

class BatchDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        g_nCornerClicks = 0;
        Link().SetLineTap([this](std::string_view line) {
            lines.emplace_back(line);
            if (static_cast<int>(lines.size()) == errorAfterLine) {
                g_bErrorReply = 1;
            } else {
                switcher.Answer(line);
            }
        });
    }
    void TearDown() override {
        Link().SetLineTap({});
        g_nSendStep = 0;
    }
    // Ticks until the run ends; the number of ticks taken.
    static int RunOut(CBatchRunDlg& dlg, int maxTicks = 400) {
        int ticks = 0;
        while (dlg.CycleRunning() && ticks < maxTicks) {
            dlg.OnCycleTimer();
            ++ticks;
        }
        return ticks;
    }
    static void ExpectIdle(CBatchRunDlg& dlg) {
        EXPECT_EQ(g_nSendStep, 0);
        EXPECT_FALSE(dlg.CycleTimer().isActive());
        EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
    }
    std::vector<std::string> Prefixes(size_t length) const {
        std::vector<std::string> out;
        for (const auto& line : lines) out.push_back(line.substr(0, length));
        return out;
    }
    std::vector<std::string> lines;
    int errorAfterLine = 0;  // the switcher answers this line with an error
    CSwitcherAnswers switcher;
    CRecordingSink sink;
};

std::vector<std::string> AllItemsTags(int nInputs) {
    std::vector<std::string> tags;
    for (int p = 1; p <= 64; ++p) tags.push_back((p < 10 ? "AST0" : "AST") + std::to_string(p));
    for (int m = 1; m <= 64; ++m) tags.push_back((m < 10 ? "TP0" : "TP") + std::to_string(m));
    for (const char* d : {"CTI", "CTO", "CPI", "TSI", "TSO"}) tags.push_back(d);
    for (int c = 1; c <= nInputs; ++c) tags.push_back((c < 10 ? "CA0" : "CA") + std::to_string(c));
    return tags;
}

// Each line cut to the length of the tag expected in its place.
std::vector<std::string> Tagged(const std::vector<std::string>& lines,
                                const std::vector<std::string>& tags) {
    std::vector<std::string> out;
    for (size_t i = 0; i < lines.size() && i < tags.size(); ++i) {
        out.push_back(lines[i].substr(0, tags[i].size()));
    }
    return out;
}

TEST_F(BatchDialogsTest, AllItemsSendsEveryTableInOrderCountingOnTheEditAndTheBar) {
    g_nCornerClicks = 4;
    CAllItemsDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), "全項目の設定");
    EXPECT_EQ(g_nCornerClicks, 4);  // not an editor: the gesture's count stays
    dlg.Button(IDC_ALL_START)->click();
    EXPECT_EQ(dlg.CycleTimer().interval(), 300);
    EXPECT_TRUE(dlg.CycleTimer().isActive());
    EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
    for (int tick = 1; tick <= 100; ++tick) dlg.OnCycleTimer();
    EXPECT_EQ(dlg.StepEdit()->text(), "100");
    EXPECT_EQ(dlg.Progress()->maximum(), 165);
    EXPECT_EQ(dlg.Progress()->value(), 100);
    EXPECT_EQ(RunOut(dlg), 65);  // ends on the last step's tick

    EXPECT_EQ(Tagged(lines, AllItemsTags(32)), AllItemsTags(32));
    EXPECT_EQ(lines.size(), 165u);
    // The edit and the bar stay at the end, and the status line says it was reached.
    EXPECT_EQ(dlg.StepEdit()->text(), "165");
    EXPECT_EQ(dlg.Progress()->value(), 165);
    EXPECT_EQ(dlg.Status(), "全 165 項目を送信しました");
    ExpectIdle(dlg);
}

TEST_F(BatchDialogsTest, AllItemsOn64InputsEndsWithTheTitlesOfChannels01To64) {
    g_nModel = 1;
    CAllItemsDlg dlg;
    dlg.Button(IDC_ALL_START)->click();
    dlg.OnCycleTimer();
    EXPECT_EQ(dlg.Progress()->maximum(), 197);
    EXPECT_EQ(dlg.StepEdit()->text(), "1");
    RunOut(dlg);
    ASSERT_EQ(lines.size(), 197u);
    EXPECT_EQ(Tagged(lines, AllItemsTags(64)), AllItemsTags(64));
    ExpectIdle(dlg);
}

TEST_F(BatchDialogsTest, AllItemsStopsAfterAnErrorReplyKeepingTheStepAndRestartsFromOne) {
    errorAfterLine = 70;
    CAllItemsDlg dlg;
    dlg.Button(IDC_ALL_START)->click();
    EXPECT_EQ(RunOut(dlg), 71);
    EXPECT_EQ(lines.size(), 70u);
    EXPECT_EQ(dlg.StepEdit()->text(), "70");
    EXPECT_EQ(dlg.Progress()->value(), 70);
    EXPECT_EQ(g_bErrorReply, 0);
    ExpectIdle(dlg);
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 70u);

    dlg.Button(IDC_ALL_START)->click();
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.back().substr(0, 5), "AST01");
    EXPECT_EQ(dlg.StepEdit()->text(), "1");
}

TEST_F(BatchDialogsTest, AllItemsWarnsOnceForARefusedItemAndNoTickRunsMeanwhile) {
    g_nSeqTime[9].fill(0);
    g_strTitle[4] = "abc";  // odd length: not a title
    CAllItemsDlg dlg;
    size_t sentWhileOpen = 0;
    sink.whileOpen = [&](const RecordedBox&) {
        const size_t before = lines.size();
        dlg.OnCycleTimer();
        dlg.OnCycleTimer();
        sentWhileOpen += lines.size() - before;
    };
    dlg.Button(IDC_ALL_START)->click();
    RunOut(dlg);
    EXPECT_EQ(sentWhileOpen, 0u);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{
                              {BoxKind::kWarning, "全部をスキップに設定することは､できません！"},
                              {BoxKind::kWarning, kNotJisLevel12Warning}}));
    ASSERT_EQ(lines.size(), 163u);
    EXPECT_EQ(lines[8].substr(0, 5), "AST09");
    EXPECT_EQ(lines[9].substr(0, 5), "AST11");
    EXPECT_EQ(lines[135].substr(0, 4), "CA04");
    EXPECT_EQ(lines[136].substr(0, 4), "CA06");
    EXPECT_EQ(dlg.StepEdit()->text(), "165");
    EXPECT_EQ(dlg.Status(),
              "全 165 項目のうち 163 項目を送信しました（送信しなかった項目: パターン 10、タイトル "
              "05）");
}

TEST_F(BatchDialogsTest, ReadBackShowsThePercentageAndEndsOnTheTickAfterItsLastCommand) {
    g_nModel = 1;
    g_nCornerClicks = 8;
    CSettingsReadDlg dlg;
    EXPECT_EQ(g_nCornerClicks, 0);
    EXPECT_EQ(dlg.windowTitle(), "設定項目の読み込み");
    EXPECT_TRUE(dlg.StepEdit()->alignment() & Qt::AlignRight);
    QStringList labels;
    for (auto* label : dlg.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("％"));
    EXPECT_TRUE(labels.contains("メインテナンス以外で読み込み操作を行わないでください。"));

    dlg.Button(IDC_READ_START)->click();
    EXPECT_EQ(dlg.CycleTimer().interval(), 300);
    EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
    QStringList shown;
    for (int k = 1; k <= 200; ++k) {
        dlg.OnCycleTimer();
        if (k == 1 || k == 100 || k == 200) shown << dlg.StepEdit()->text();
    }
    EXPECT_EQ(shown, (QStringList{"0", "50", "100"}));
    EXPECT_EQ(dlg.Progress()->maximum(), 200);
    EXPECT_EQ(dlg.Progress()->value(), 200);
    EXPECT_TRUE(dlg.CycleRunning());  // the last command is out, the run not yet over
    EXPECT_EQ(lines.back(), "RCA64\r\n");

    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 200u);
    EXPECT_EQ(dlg.StepEdit()->text(), "100");
    EXPECT_EQ(dlg.Progress()->value(), 200);
    EXPECT_EQ(dlg.Status(), "全 200 項目を読み込みました");
    ExpectIdle(dlg);
}

// Settings read in part would pass for the switcher's: the model takes them
// only once every read has come back readable.
TEST_F(BatchDialogsTest, AReadBackWithoutReadableAnswersLeavesTheSettingsAsTheyWere) {
    g_nSeqTime[0][0] = 9;
    Link().SetLineTap([this](std::string_view line) {
        lines.emplace_back(line);
        Link().Replies().Push("GO\r\n");  // to every read: no data line
    });
    CSettingsReadDlg dlg;
    dlg.Button(IDC_READ_START)->click();
    RunOut(dlg);
    EXPECT_EQ(lines.size(), 168u);
    EXPECT_EQ(g_nSeqTime[0][0], 9);
    const std::string unread = "読み込めなかった項目があるため、設定は変わりません: RAST01, RAST02";
    ASSERT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(sink.boxes[0].kind, BoxKind::kWarning);
    EXPECT_EQ(sink.boxes[0].text.rfind(unread, 0), 0u) << sink.boxes[0].text;
    auto* status = dlg.findChild<QLabel*>(QString::number(IDC_RUN_STATUS));
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->text().startsWith(QString::fromStdString(unread)));
    ExpectIdle(dlg);

    // Read again from a switcher that answers: the settings are its own.
    lines.clear();
    sink.boxes.clear();
    Link().SetLineTap([this](std::string_view line) {
        lines.emplace_back(line);
        switcher.Answer(line);
    });
    dlg.Button(IDC_READ_START)->click();
    RunOut(dlg);
    EXPECT_EQ(g_nSeqTime[0][0], 3);
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(status->text(), "全 168 項目を読み込みました");
}

TEST_F(BatchDialogsTest, ReadBackStopsOnTheTickAfterAnErrorReply) {
    errorAfterLine = 74;  // RTP10
    CSettingsReadDlg dlg;
    dlg.Button(IDC_READ_START)->click();
    EXPECT_EQ(RunOut(dlg), 75);
    EXPECT_EQ(lines.back(), "RTP10\r\n");
    EXPECT_EQ(dlg.StepEdit()->text(), "44");
    EXPECT_EQ(dlg.Progress()->maximum(), 168);
    EXPECT_EQ(dlg.Progress()->value(), 74);
    ExpectIdle(dlg);

    // An error left over from before the run stops it before anything is sent.
    g_bErrorReply = 1;
    dlg.Button(IDC_READ_START)->click();
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 74u);
    EXPECT_EQ(dlg.StepEdit()->text(), "44");
    ExpectIdle(dlg);
}

// A switcher that stops answering ends a timer's run too: the monitor's one
// "No Connect" box, and the edit keeps the step reached.
TEST_F(BatchDialogsTest, UnderTheTimerNoConnectStopsTheRunWithItsOneBox) {
    Link().SetLineTap([this](std::string_view line) { lines.emplace_back(line); });
    CAllItemsDlg dlg;
    dlg.Button(IDC_ALL_START)->click();
    // The run's timer ticks every 300 ms, the main frame's monitor every 500 ms.
    for (int ms = 100; ms <= 12000; ms += 100) {
        if (ms % 300 == 0) dlg.OnCycleTimer();
        if (ms % 500 == 0) MonitorTick();
    }
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(lines.size(), 11u);  // sent until the monitor spoke, 3.5 s in
    EXPECT_EQ(dlg.StepEdit()->text(), "11");
    EXPECT_EQ(dlg.Progress()->value(), 11);
    EXPECT_EQ(dlg.Status(), "No Connect のため停止しました");
    ExpectIdle(dlg);
}

// The step named is the one whose line the error answered, though the timer
// has sent two more by the time the answer is taken in.
TEST_F(BatchDialogsTest, AnErrorReplySaysAtWhichStepTheRunStopped) {
    Link().SetLineTap([this](std::string_view line) {
        lines.emplace_back(line);
        if (lines.size() == 70) {
            Link().Replies().Push("E3\r\n");
        } else {
            switcher.Answer(line);
        }
    });
    CAllItemsDlg dlg;
    dlg.Button(IDC_ALL_START)->click();
    for (int tick = 0; tick < 72; ++tick) dlg.OnCycleTimer();
    DispatchReplies();  // the answers come in behind the lines
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "Command Error"}}));
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 72u);
    EXPECT_EQ(dlg.StepEdit()->text(), "72");
    EXPECT_EQ(dlg.Status(),
              "エラー応答 Command Error のため、ステップ 70（メモリ 06）で停止しました");
    ExpectIdle(dlg);
}

TEST_F(BatchDialogsTest, ALostPortStopsTheRunAndSaysSo) {
    Link().State().Begin("COM1 /dev/ttyUSB0", false, LinkStatus::kConnected);
    CAllItemsDlg dlg;
    dlg.Button(IDC_ALL_START)->click();
    for (int tick = 0; tick < 4; ++tick) dlg.OnCycleTimer();
    Link().State().Apply(CPortEvent::Lost(CLinkFailure::Of(CLinkFailure::Kind::kHungUp)));
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 4u);
    EXPECT_EQ(dlg.Status(), "ポートが失われたため停止しました");
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kReplyError, "Port lost: COM1 /dev/ttyUSB0"}}));
    ExpectIdle(dlg);
}

// 中止 ends the run once the line in flight is answered; the dialog still
// cannot be closed meanwhile, and an error in that answer is said instead.
TEST_F(BatchDialogsTest, StopEndsTheAllItemsRunAfterTheLineInFlight) {
    Link().SetLineTap([this](std::string_view line) { lines.emplace_back(line); });
    CAllItemsDlg dlg;
    dlg.show();
    EXPECT_FALSE(dlg.Button(IDC_RUN_STOP)->isEnabled());
    dlg.Button(IDC_ALL_START)->click();
    EXPECT_FALSE(dlg.Button(IDC_ALL_START)->isEnabled());
    EXPECT_TRUE(dlg.Button(IDC_RUN_STOP)->isEnabled());
    for (int tick = 0; tick < 20; ++tick) dlg.OnCycleTimer();
    dlg.Button(IDC_RUN_STOP)->click();
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_TRUE(dlg.CycleRunning());  // the answers are still out
    EXPECT_FALSE(dlg.Button(IDC_RUN_STOP)->isEnabled());
    EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
    EXPECT_FALSE(dlg.close());
    for (int i = 0; i < 20; ++i) Link().Replies().Push("GO\r\n");
    dlg.OnCycleTimer();
    EXPECT_FALSE(dlg.CycleRunning());
    EXPECT_EQ(lines.size(), 20u);
    EXPECT_EQ(dlg.StepEdit()->text(), "20");
    EXPECT_EQ(dlg.Progress()->value(), 20);
    EXPECT_EQ(dlg.Status(), "中止しました");
    ExpectIdle(dlg);
    EXPECT_TRUE(dlg.Button(IDC_ALL_START)->isEnabled());
    EXPECT_TRUE(sink.boxes.empty());

    dlg.Button(IDC_ALL_START)->click();
    EXPECT_EQ(dlg.Status(), "");
    for (int tick = 0; tick < 5; ++tick) dlg.OnCycleTimer();
    dlg.Button(IDC_RUN_STOP)->click();
    for (int i = 0; i < 4; ++i) Link().Replies().Push("GO\r\n");
    Link().Replies().Push("E3\r\n");
    dlg.OnCycleTimer();
    EXPECT_EQ(dlg.Status(),
              "エラー応答 Command Error のため、ステップ 5（パターン 05）で停止しました");
    EXPECT_EQ(g_bErrorReply, 0);
    ExpectIdle(dlg);
}

// A read-back that does not reach its end leaves the settings as they were,
// however it ended; so does a compare, which says only that it was stopped.
TEST_F(BatchDialogsTest, AReadBackOrCompareCutShortLeavesTheSettingsAsTheyWere) {
    g_nSeqTime[0][0] = 9;  // the switcher holds 3
    const CSettingsTables before = FileTables(g_settings);
    CSettingsReadDlg read;
    read.Button(IDC_READ_START)->click();
    for (int tick = 0; tick < 5; ++tick) read.OnCycleTimer();
    read.Button(IDC_RUN_STOP)->click();  // the answers are in
    EXPECT_FALSE(read.CycleRunning());
    EXPECT_EQ(lines.size(), 5u);
    EXPECT_EQ(read.Status(), "中止しました（設定は変わりません）");
    EXPECT_EQ(FileTables(g_settings), before);

    errorAfterLine = 8;  // RAST03
    read.Button(IDC_READ_START)->click();
    for (int tick = 0; tick < 5; ++tick) read.OnCycleTimer();
    EXPECT_FALSE(read.CycleRunning());
    EXPECT_EQ(read.Status(),
              "エラー応答のため、ステップ 3（RAST03）で停止しました（設定は変わりません）");
    EXPECT_EQ(FileTables(g_settings), before);
    ExpectIdle(read);

    CSettingsCompareDlg compare;
    compare.Button(IDC_COMPARE_START)->click();
    for (int tick = 0; tick < 3; ++tick) compare.OnCycleTimer();
    compare.Button(IDC_RUN_STOP)->click();
    EXPECT_FALSE(compare.CycleRunning());
    EXPECT_EQ(compare.Status(), "中止しました");
    EXPECT_EQ(FileTables(g_settings), before);
    EXPECT_TRUE(sink.boxes.empty());  // neither a notice nor a list of differences
    ExpectIdle(compare);
}

TEST_F(BatchDialogsTest, StartDoesNothingWhileAnotherCycleHoldsTheStep) {
    CAllItemsDlg all;
    CSettingsReadDlg read;
    g_nSendStep = 12;
    all.Button(IDC_ALL_START)->click();
    read.Button(IDC_READ_START)->click();
    all.OnCycleTimer();
    read.OnCycleTimer();
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(g_nSendStep, 12);
    EXPECT_TRUE(all.Button(IDCANCEL)->isEnabled());
    EXPECT_TRUE(read.Button(IDCANCEL)->isEnabled());
    EXPECT_FALSE(all.CycleTimer().isActive());

    // Nor while the other dialog's own run goes.
    g_nSendStep = 0;
    all.Button(IDC_ALL_START)->click();
    read.Button(IDC_READ_START)->click();
    read.OnCycleTimer();
    all.OnCycleTimer();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.front().substr(0, 5), "AST01");
}

TEST_F(BatchDialogsTest, NothingClosesTheAllItemsDialogWhileItsRunGoes) {
    CAllItemsDlg dlg;
    dlg.show();
    dlg.Button(IDC_ALL_START)->click();
    dlg.OnCycleTimer();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.close());  // the close box
    dlg.reject();
    dlg.accept();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.CycleRunning());
    EXPECT_EQ(g_nSendStep, 2);
    RunOut(dlg);
    EXPECT_EQ(lines.size(), 165u);  // the whole run went out

    // Once the run is over, Esc closes it again.
    QApplication::sendEvent(&dlg, &escape);
    EXPECT_FALSE(dlg.isVisible());
    ExpectIdle(dlg);
}

TEST_F(BatchDialogsTest, ClosingWithoutCloseDuringARunEndsIt) {
    CSettingsReadDlg dlg;
    {
        dlg.show();
        dlg.Button(IDC_READ_START)->click();
        dlg.OnCycleTimer();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &escape);
        EXPECT_FALSE(dlg.isVisible());
        ExpectIdle(dlg);
    }
    dlg.show();
    dlg.Button(IDC_READ_START)->click();
    dlg.OnCycleTimer();
    dlg.close();  // the close box
    ExpectIdle(dlg);
    dlg.OnCycleTimer();
    EXPECT_EQ(lines.size(), 2u);
}

using BatchMenuTest = AppTest;

// The boxes a run raises appear over the run's dialog, which stands in the
// middle of the screen, not over the main window at its top-left corner.
TEST_F(BatchMenuTest, BoxesDuringARunSitOverTheRunsDialog) {
    WriteProfile("com_port=0");
    MakeFrame();
    CQtMessageSink qtSink(frame.get());
    SetMessageSink(&qtSink);
    g_nSeqTime[1].fill(0);  // pattern 02 is refused with a warning
    QWidget* const ownerBefore = g_hMsgOwner.data();
    QStringList owners;
    QList<bool> centredOverOwner;
    const auto noteOwner = [&](const CBatchRunDlg& dlg) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            owners << (box->parentWidget() ? box->parentWidget()->windowTitle() : "none");
            centredOverOwner << dlg.frameGeometry().contains(box->geometry().center());
            box->accept();
        });
    };
    {
        CAllItemsDlg dlg(frame.get());
        // Qt paints a progress bar with its own thread pool, which the thread
        // sanitizer cannot follow; the bar plays no part here.
        dlg.Progress()->hide();
        dlg.move(300, 300);
        dlg.show();
        dlg.Button(IDC_ALL_START)->click();
        dlg.OnCycleTimer();
        noteOwner(dlg);
        dlg.OnCycleTimer();  // pattern 02: its warning
        dlg.OnCycleTimer();
        noteOwner(dlg);
        ShowReplyError("No Connect");  // as the connection monitor would
        dlg.reject();                  // refused: the run goes on
        EXPECT_TRUE(dlg.isVisible());
        g_bErrorReply = 1;
        dlg.OnCycleTimer();
        dlg.reject();
        EXPECT_EQ(g_hMsgOwner.data(), ownerBefore);
    }
    CSettingsReadDlg read(frame.get());
    read.Progress()->hide();
    read.move(300, 300);
    read.show();
    read.Button(IDC_READ_START)->click();
    read.OnCycleTimer();
    noteOwner(read);
    ShowReplyError("Command Error");
    read.reject();
    EXPECT_EQ(g_hMsgOwner.data(), ownerBefore);  // a closed dialog owns no boxes
    SetMessageSink(&sink);

    EXPECT_EQ(owners, (QStringList{"全項目の設定", "全項目の設定", "設定項目の読み込み"}));
    EXPECT_EQ(centredOverOwner, (QList<bool>{true, true, true}));
}

TEST_F(BatchMenuTest, TheMenuOpensEachDialogAndTheCornerGestureTheReadBack) {
    WriteProfile("com_port=0");
    MakeFrame();
    QStringList titles;
    const auto closeNext = [&titles] {
        WhenModal([&titles](QDialog& dlg) {
            titles << dlg.windowTitle();
            dlg.close();
        });
    };
    for (int id : {ID_CALENDAR, ID_SLAVE_ADDRESS, ID_ALL_ITEMS, ID_SETTINGS_READ}) {
        closeNext();
        frame->OnCommand(id);
    }
    closeNext();
    for (int i = 0; i < 10; ++i) frame->OnContextMenuAt({5, 5});
    EXPECT_EQ(titles, (QStringList{"カレンダ File Name ", "スレーブ・アドレス File Name ",
                                   "全項目の設定", "設定項目の読み込み", "設定項目の読み込み"}));
}

}  // namespace
