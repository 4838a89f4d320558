// 設定の照合 and 応答を待って送信 in the program, against a virtual switcher on
// a pseudo-terminal.
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>

#include "dialogs/all_items_dlg.h"
#include "dialogs/settings_compare_dlg.h"
#include "link/link_context.h"
#include "model/file_io.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/run_controls.h"
#include "sim/switcher_server.h"
#include "tests/app/app_fixture.h"
#include "tests/support/file_tables.h"

namespace {

const char kHonsha[] = "\x96\x7b\x8e\xd0";  // 本社
const char kShisha[] = "\x8e\x78\x8e\xd0";  // 支社

class SettingsCompareTest : public AppTest {
protected:
    void TearDown() override {
        AppTest::TearDown();  // the frame closes the port before the switcher goes
        if (server) server->Stop();
    }
    void StartOn(const CFaultOptions& faults = {}) {
        server = std::make_unique<CSwitcherServer>(CSwitcherOptions{}, faults);
        ASSERT_TRUE(server->Start()) << server->Error();
        WriteProfile("com_port=0", server->DevicePath());
        MakeFrame();
    }
    void SetReplyPaced(bool on) {
        QAction* item = frame->Action(ID_REPLY_PACED);
        if (item->isChecked() != on) item->trigger();
    }
    // Acts on the result list as it opens, then closes it. It is not painted:
    // Qt paints a window that large with its own thread pool, which the thread
    // sanitizer cannot follow.
    class CResultCatcher : public QObject {
    public:
        explicit CResultCatcher(std::function<void(CCompareResultDlg&)> act) : m_act(act) {
            QApplication::instance()->installEventFilter(this);
        }
        ~CResultCatcher() override { QApplication::instance()->removeEventFilter(this); }
        bool eventFilter(QObject* object, QEvent* event) override {
            auto* result = dynamic_cast<CCompareResultDlg*>(object);
            if (result && event->type() == QEvent::Show) {
                result->setUpdatesEnabled(false);
                m_act(*result);
                QMetaObject::invokeMethod(result, &QDialog::reject, Qt::QueuedConnection);
            }
            return false;
        }

    private:
        std::function<void(CCompareResultDlg&)> m_act;
    };
    static double Seconds(const QElapsedTimer& t) { return t.elapsed() / 1000.0; }
    // Qt paints a progress bar with its own thread pool, which the thread
    // sanitizer cannot follow; the bar plays no part here.
    static void HideBar(QDialog& dlg, int id) { FindControl<QProgressBar>(dlg, id)->hide(); }

    std::unique_ptr<CSwitcherServer> server;
};

QStringList Row(QTreeWidget* list, int row) {
    QStringList cells;
    for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(row)->text(c);
    return cells;
}

TEST_F(SettingsCompareTest, ListsWhatTheSwitcherHoldsOtherwiseAndLeavesTheSettingsAlone) {
    StartOn();
    CSwitcherState held = server->State();
    held.m_tables.m_strTitle[2] = kShisha;
    held.m_tables.m_nCurMemory = 9;
    server->SetState(held);
    g_strTitle[2] = kHonsha;
    g_nSeqTime[4][11] = 10;
    g_nPattern[12][6] = 2;
    g_nOutCalendarDisp[3] = 0;
    g_nCurMemory = 3;
    g_bModified = 1;
    const CSettingsTables before = FileTables(g_settings);
    const OutputRow direct = g_nPattern[0];
    SetReplyPaced(true);

    std::vector<QStringList> rows;
    QString summary;
    QStringList heads;
    CResultCatcher catcher([&](CCompareResultDlg& result) {
        summary = FindControl<QLabel>(result, IDC_COMPARE_SUMMARY)->text();
        for (int c = 0; c < result.List()->columnCount(); ++c) {
            heads << result.List()->headerItem()->text(c);
        }
        for (int r = 0; r < result.List()->topLevelItemCount(); ++r) {
            rows.push_back(Row(result.List(), r));
        }
    });
    WhenModal([](QDialog& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "設定の照合");
        HideBar(dlg, IDC_COMPARE_PROGRESS);
        Click(dlg, IDC_COMPARE_START);
        ProcessUntil([&] { return FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled(); }, 5000);
        dlg.reject();
    });
    frame->OnCommand(ID_SETTINGS_COMPARE);

    EXPECT_EQ(summary, "4 項目が異なります。");
    // The third column is the settings in memory, saved or not.
    EXPECT_EQ(heads, (QStringList{"表", "項目", "メモリ", "スイッチャー"}));
    EXPECT_EQ(rows, (std::vector<QStringList>{
                        {"オート・シーケンス", "パターン05 ch12", "10 s", "3 s"},
                        {"出力切換え", "メモリ12 out07", "I03", "I07"},
                        {"出力カレンダ表示", "out04", "OFF", "ON"},
                        {"タイトル", "in03", "本社", "支社"},
                    }));
    EXPECT_EQ(server->LinesReceived(), 168);
    EXPECT_EQ(FileTables(g_settings), before);
    EXPECT_EQ(g_nPattern[0], direct);
    EXPECT_EQ(g_nCurMemory, 3);
    EXPECT_EQ(g_bModified, 1);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes.front().text;
}

TEST_F(SettingsCompareTest, OnTheTimerItSaysWhenTheSwitcherHoldsTheSettings) {
    StartOn();
    CSettingsCompareDlg dlg;
    dlg.Button(IDC_COMPARE_START)->click();
    EXPECT_FALSE(dlg.CycleTimer().isSingleShot());
    EXPECT_EQ(dlg.CycleTimer().interval(), 300);
    dlg.CycleTimer().stop();  // ticked by hand, each read answered before the next
    for (int tick = 0; dlg.CycleRunning() && tick < 200; ++tick) {
        const unsigned long replies = Link().RepliesInterpreted();
        const unsigned long sent = Link().LinesSent();
        dlg.OnCycleTimer();
        if (Link().LinesSent() != sent) {
            ASSERT_TRUE(ProcessUntil([&] { return Link().RepliesInterpreted() > replies; }));
        }
    }
    EXPECT_EQ(dlg.StepEdit()->text(), "100");
    EXPECT_EQ(dlg.Status(), "スイッチャーはメモリ上の設定を保持しています。");
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{
                  {BoxKind::kNotice, "スイッチャーはメモリ上の設定を保持しています。"}}));
}

TEST_F(SettingsCompareTest, RefusesToStartWhileAnotherCycleRuns) {
    StartOn();
    g_nSendStep = 7;
    CSettingsCompareDlg dlg;
    dlg.Button(IDC_COMPARE_START)->click();
    EXPECT_FALSE(dlg.CycleRunning());
    EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
    EXPECT_EQ(Link().LinesSent(), 0u);
    g_nSendStep = 0;
}

TEST_F(SettingsCompareTest, SendOnAcknowledgementIsOffByDefaultAndKeptInTheProfile) {
    StartOn();
    QAction* item = frame->Action(ID_REPLY_PACED);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(Link().ReplyPaced());
    item->trigger();
    EXPECT_TRUE(Link().ReplyPaced());
    EXPECT_NE(ReadWholeFile(profile).value_or("").find("[Link]\nack_pace=1"), std::string::npos);

    frame.reset();
    Link().SetReplyPaced(false);
    MakeFrame();
    EXPECT_TRUE(frame->Action(ID_REPLY_PACED)->isChecked());
    EXPECT_TRUE(Link().ReplyPaced());
}

// 9600 baud would take 16 s; at 38400 an all-items run's 13497 characters out
// and 165 "GO" back take 4.06 s on the wire.
TEST_F(SettingsCompareTest, AnAcknowledgedRunTakesAboutTheWireTime) {
    StartOn({.nBaud = 38400});
    const double wire = (13497 + 165 * 4) * 11 / 38400.0;
    for (int c = 0; c < 32; ++c) g_nSeqTime[7][c] = 12;
    SetReplyPaced(true);
    double seconds = 0;
    WhenModal([&](QDialog& dlg) {
        HideBar(dlg, IDC_ALL_PROGRESS);
        QElapsedTimer timer;
        timer.start();
        Click(dlg, IDC_ALL_START);
        EXPECT_FALSE(FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled());
        ProcessUntil([&] { return FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled(); }, 20000);
        seconds = Seconds(timer);
        dlg.reject();
    });
    frame->OnCommand(ID_ALL_ITEMS);
    EXPECT_EQ(server->LinesReceived(), 165);
    EXPECT_EQ(FileTables(server->State().m_tables), FileTables(g_settings));
    EXPECT_GT(seconds, wire * 0.95);
    EXPECT_LT(seconds, wire * 1.4) << "the timer would take 49.5 s";
}

TEST_F(SettingsCompareTest, ASilentSwitcherEndsAnAcknowledgedRunWithNoConnect) {
    StartOn({.bSilent = true});
    SetReplyPaced(true);
    double seconds = 0;
    QString status;
    WhenModal([&](QDialog& dlg) {
        HideBar(dlg, IDC_ALL_PROGRESS);
        QElapsedTimer timer;
        timer.start();
        Click(dlg, IDC_ALL_START);
        ProcessUntil([&] { return FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled(); }, 8000);
        seconds = Seconds(timer);
        status = FindControl<QLabel>(dlg, IDC_RUN_STATUS)->text();
        dlg.reject();
    });
    frame->OnCommand(ID_ALL_ITEMS);
    EXPECT_EQ(server->LinesReceived(), 1);
    EXPECT_GE(seconds, 3.0);
    EXPECT_LT(seconds, 4.5);
    EXPECT_EQ(status, "No Connect のため停止しました");
    // The run ends 3.5 s after its line went out; the monitor's seventh tick
    // falls 3.0 to 3.5 s after it, and may come a moment later than the run's end.
    ProcessUntil([&] { return !sink.boxes.empty(); }, 1000);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(g_nSendStep, 0);
}

// On the timer too: the lines go out one each 300 ms until the monitor says
// "No Connect" (3.0 to 3.5 s after the first), then nothing more, and no second box.
TEST_F(SettingsCompareTest, ASilentSwitcherEndsATimersRunWithOneNoConnect) {
    StartOn({.bSilent = true});
    double seconds = 0;
    QString counter;
    QString status;
    WhenModal([&](QDialog& dlg) {
        HideBar(dlg, IDC_ALL_PROGRESS);
        QElapsedTimer timer;
        timer.start();
        Click(dlg, IDC_ALL_START);
        ProcessUntil([&] { return FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled(); }, 8000);
        seconds = Seconds(timer);
        ProcessUntil([] { return false; }, 4000);  // a second report would come meanwhile
        counter = FindControl<QLineEdit>(dlg, IDC_ALL_COUNTER)->text();
        status = FindControl<QLabel>(dlg, IDC_RUN_STATUS)->text();
        dlg.reject();
    });
    frame->OnCommand(ID_ALL_ITEMS);
    EXPECT_GE(seconds, 3.0);
    EXPECT_LT(seconds, 4.5);
    EXPECT_GE(server->LinesReceived(), 10);
    EXPECT_LE(server->LinesReceived(), 13);
    EXPECT_EQ(counter.toInt(), server->LinesReceived());  // the counter keeps the step reached
    EXPECT_EQ(status, "No Connect のため停止しました");
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(g_nSendStep, 0);
}

TEST_F(SettingsCompareTest, AnEditorsAllSetIsPacedByRepliesToo) {
    StartOn({.nBaud = 38400});
    SetReplyPaced(true);
    QElapsedTimer timer;
    WhenModal([&](QDialog& dlg) {
        timer.start();
        Click(dlg, IDC_ALL_SET);
        ProcessUntil([&] { return FindControl<QPushButton>(dlg, IDCANCEL)->isEnabled(); }, 10000);
        dlg.reject();
    });
    frame->OnCommand(ID_AUTO_SEQUENCE);
    EXPECT_EQ(server->LinesReceived(), 64);
    EXPECT_LT(Seconds(timer), 5.0) << "the timer takes 16 s";
}

}  // namespace
