// Where the dialogs and boxes open, what they block, the captions and
// counters they show, and the main window's keys.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QtTest/QTest>

#include "app/comm_log_window.h"
#include "dialog_kit/qt_message_sink.h"
#include "dialogs/all_items_dlg.h"
#include "dialogs/auto_sequence_dlg.h"
#include "dialogs/calendar_dlg.h"
#include "dialogs/display_switch_dlg.h"
#include "dialogs/pattern_output_dlg.h"
#include "dialogs/settings_read_dlg.h"
#include "dialogs/slave_address_dlg.h"
#include "dialogs/title_dlg.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/title_dialog.h"
#include "tests/app/app_fixture.h"

namespace {

// The width the edit needs to show text whole, as its style draws it.
int WidthFor(const QLineEdit& edit, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const int textWidth = edit.fontMetrics().horizontalAdvance(text) + 4;  // the edit's margins
    return edit.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(textWidth, edit.height()), &edit)
        .width();
}

class DialogPlacementTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        WriteProfile("com_port=0");
        MakeFrame();
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    }

    // The log window, open and scrolled to its end, with its view focused.
    CCommLogWindow& OpenLog() {
        for (int i = 0; i < 200; ++i) frame->CommLog().AddNote("line " + std::to_string(i));
        frame->OnCommand(ID_COMM_LOG);
        auto* log = frame->findChild<CCommLogWindow*>();
        log->View()->setFocus();
        return *log;
    }

    // A Page Up through the window system, as the keyboard gives it: a window
    // a modal dialog blocks never sees it.
    static bool PageUpScrolls(CCommLogWindow& log) {
        QScrollBar* bar = log.View()->verticalScrollBar();
        bar->setValue(bar->maximum());
        QTest::keyClick(log.windowHandle(), Qt::Key_PageUp);
        const bool scrolled = bar->value() < bar->maximum();
        bar->setValue(bar->maximum());
        return scrolled;
    }
};

TEST_F(DialogPlacementTest, EditorsAndRunsOpenBelowTheMainWindowAndLeaveTheLogUsable) {
    CCommLogWindow& log = OpenLog();
    ASSERT_TRUE(PageUpScrolls(log));
    const int commands[] = {ID_AUTO_SEQUENCE,    ID_PATTERN_OUTPUT, ID_TITLE,     ID_INPUT_TITLE,
                            ID_CALENDAR,         ID_SLAVE_ADDRESS,  ID_ALL_ITEMS, ID_SETTINGS_READ,
                            ID_SETTINGS_COMPARE, ID_OUTPUT_CALENDAR};
    for (int command : commands) {
        bool bSeen = false;
        WhenModal([&](QDialog& dialog) {
            bSeen = true;
            EXPECT_EQ(dialog.windowModality(), Qt::WindowModal) << command;
            EXPECT_GT(dialog.frameGeometry().top(), frame->frameGeometry().bottom()) << command;
            EXPECT_EQ(dialog.frameGeometry().left(), frame->frameGeometry().left()) << command;
            EXPECT_TRUE(PageUpScrolls(log)) << command;
            QTest::keyClick(frame->windowHandle(), Qt::Key_F10);  // the main window is blocked
            EXPECT_EQ(frame->menuBar()->activeAction(), nullptr) << command;
            dialog.done(0);
        });
        frame->OnCommand(command);
        EXPECT_TRUE(bSeen) << command;
    }
}

TEST_F(DialogPlacementTest, ABoxSitsOnTheDialogThatRaisedItAndLeavesTheLogUsable) {
    CCommLogWindow& log = OpenLog();
    CQtMessageSink qtSink(frame.get());
    bool bSeen = false;
    WhenModal([&](QDialog& dialog) {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            bSeen = true;
            EXPECT_EQ(box->parentWidget(), &dialog);
            EXPECT_EQ(box->windowModality(), Qt::WindowModal);
            const QPoint offset = box->frameGeometry().center() - dialog.frameGeometry().center();
            EXPECT_LE(offset.manhattanLength(), 4);
            EXPECT_TRUE(PageUpScrolls(log));
            box->done(0);
        });
        qtSink.ShowBox(BoxKind::kWarning, "全部をスキップに設定することは､できません！");
        dialog.done(0);
    });
    frame->OnCommand(ID_AUTO_SEQUENCE);  // an editor that does not name itself g_hMsgOwner
    EXPECT_TRUE(bSeen);
}

TEST_F(DialogPlacementTest, F10OpensTheFirstMenuAltTheMenuBarAndCtrlQExits) {
    QTest::keyClick(frame->windowHandle(), Qt::Key_F10);
    QMenuBar* bar = frame->menuBar();
    ASSERT_FALSE(bar->actions().isEmpty());
    EXPECT_EQ(bar->activeAction(), bar->actions().front());
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->actions().front()->menu()->isVisible(); }));
    bar->actions().front()->menu()->close();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));

    QTest::keyPress(frame->windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(frame->windowHandle(), Qt::Key_Alt, Qt::NoModifier);
    EXPECT_EQ(bar->activeAction(), bar->actions().front());
    QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);

    g_bModified = 0;
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(frame->IsLinkShutDown());
}

// An editor's caption ends in the file's path; the dialog grows to show it
// whole, and a path longer than the screen loses its middle, never its end.
TEST_F(DialogPlacementTest, CaptionsShowTheFilePathWholeOrLoseOnlyItsMiddle) {
    const std::string path = "/home/operator/qelvar/settings/site-a/2026-12-09/matrix.dat";
    const std::vector<std::function<std::unique_ptr<QDialog>()>> makers = {
        [this] { return std::make_unique<CSlaveAddressDlg>(frame.get()); },
        [this] { return std::make_unique<CCalendarDlg>(frame.get()); },
        [this] { return std::make_unique<CAutoSequenceDlg>(frame.get()); },
        [this] {
            return std::make_unique<CDisplaySwitchDlg>(DisplaySwitch::kInTitle, frame.get());
        },
    };
    const QFontMetrics metrics(QApplication::font());
    const int screenWidth = frame->screen()->availableGeometry().width();
    for (const auto& make : makers) {
        g_strFileName = path;
        std::unique_ptr<QDialog> dlg = make();
        dlg->show();
        const QString caption = dlg->windowTitle();
        EXPECT_TRUE(caption.endsWith(" File Name " + QString::fromStdString(path)))
            << caption.toStdString();
        EXPECT_GE(dlg->width(), metrics.horizontalAdvance(caption) + 100) << caption.toStdString();
        dlg->hide();

        g_strFileName = "/home/operator/" + std::string(400, 'x') + "/matrix.dat";
        std::unique_ptr<QDialog> longer = make();
        longer->show();
        const QString shortened = longer->windowTitle();
        EXPECT_TRUE(shortened.endsWith("/matrix.dat")) << shortened.toStdString();
        EXPECT_TRUE(shortened.contains(" File Name /home/")) << shortened.toStdString();
        EXPECT_TRUE(shortened.contains(QChar(0x2026))) << shortened.toStdString();
        EXPECT_LE(longer->width(), screenWidth);
        EXPECT_LE(metrics.horizontalAdvance(shortened) + 100, longer->width());
    }
}

TEST_F(DialogPlacementTest, CountersFitTheirLargestValueAndTakeNoFocus) {
    struct CCounter {
        std::function<std::unique_ptr<QDialog>()> make;
        int nId;
        const char* widest;
    };
    g_nModel = 1;  // 64 inputs
    const CCounter counters[] = {
        {[this] { return std::make_unique<CAutoSequenceDlg>(frame.get()); }, IDC_SEQ_COUNTER, "64"},
        {[this] { return std::make_unique<CPatternOutputDlg>(frame.get()); }, IDC_OUT_COUNTER,
         "64"},
        {[this] { return std::make_unique<CTitleDlg>(frame.get()); }, IDC_TITLE_COUNTER, "64"},
        {[this] { return std::make_unique<CAllItemsDlg>(frame.get()); }, IDC_ALL_COUNTER, "197"},
        {[this] { return std::make_unique<CSettingsReadDlg>(frame.get()); }, IDC_READ_PERCENT,
         "100"},
    };
    for (const CCounter& c : counters) {
        std::unique_ptr<QDialog> dlg = c.make();
        auto* counter = FindControl<QLineEdit>(*dlg, c.nId);
        ASSERT_NE(counter, nullptr) << c.nId;
        EXPECT_GE(counter->width(), WidthFor(*counter, c.widest)) << c.nId;
        EXPECT_EQ(counter->focusPolicy(), Qt::NoFocus) << c.nId;
        // Nothing the counter overlaps (dialog units round to a shared pixel at most).
        const QRect inner = counter->geometry().adjusted(1, 0, -1, 0);
        for (auto* other : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other == counter || !other->isVisibleTo(dlg.get())) continue;
            if (qobject_cast<QLabel*>(other) || other->inherits("QGroupBox")) continue;
            EXPECT_FALSE(other->geometry().intersects(inner))
                << c.nId << " and " << other->objectName().toStdString();
        }
    }
}

}  // namespace
