#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_kit/qt_message_sink.h"
#include "dialogs/title_dlg.h"
#include "editors/table_grid.h"
#include "editors/title_send.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/editor_dialogs.h"
#include "res/title_dialog.h"
#include "tests/app/app_fixture.h"
#include "tests/support/repeat_text.h"

namespace {

const std::string kA = "\x82\xA0";  // あ
const std::string kI = "\x82\xA2";  // い

class CFakeInputMethod : public CInputMethod {
public:
    bool IsOpen() override {
        calls.push_back("read");
        return bOpen;
    }
    void SetOpen(bool bNew) override {
        calls.push_back(bNew ? "on" : "off");
        bOpen = bNew;
    }
    bool bOpen = false;
    std::vector<std::string> calls;
};

// The dialog with its table's contents in reach.
class CTitleView : public CTitleDlg {
public:
    using CTitleDlg::CTitleDlg;
    using CTitleDlg::GridCellText;
    using CTitleDlg::GridColumnWidth;
    using CTitleDlg::GridEntryCount;
};

class TitleDlgTest : public ::testing::Test {
protected:
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;
    // Text as an input method commits it (validated like typing).
    static void Type(QLineEdit* edit, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(edit, &event);
    }
    static void PressEscape(QWidget* widget) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    static bool ProcessUntil(const std::function<bool()>& pred) {
        QElapsedTimer timer;
        timer.start();
        while (!pred() && timer.elapsed() < 2000) QApplication::processEvents();
        return pred();
    }
    static void ShowFocused(CTitleDlg& dlg) {
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(ProcessUntil([&] { return dlg.TitleEdit()->hasFocus(); }));
    }
    CRecordingSink sink;
    CFakeInputMethod ime;
};

TEST_F(TitleDlgTest, OpensOnTheSelectedChannelsTitle) {
    g_nCurChannel = 3;
    g_strTitle[3] = kA + kI;
    g_strFileName = "/srv/a.dat";
    CTitleDlg dlg(nullptr, &ime);
    EXPECT_EQ(dlg.windowTitle(), "タイトル設定 File Name /srv/a.dat");
    EXPECT_EQ(dlg.TitleEdit()->text(), "あい");
    EXPECT_EQ(dlg.Combo(IDC_TITLE_CHANNEL)->currentText(), "04");
    EXPECT_EQ(dlg.Combo(IDC_TITLE_CHANNEL)->count(), 32);
    EXPECT_EQ(g_strTitle[3], kA + kI);
    EXPECT_EQ(g_bModified, 1);  // showing the title stores it again
}

TEST_F(TitleDlgTest, OnlyALoneHalfWidthBlankLeavesTheSettingsUnmodified) {
    g_strTitle[0] = " ";
    g_strTitle[1] = " ";
    CTitleDlg dlg(nullptr, &ime);
    EXPECT_EQ(g_bModified, 0);
    Pick(dlg.Combo(IDC_TITLE_CHANNEL), 1);
    EXPECT_EQ(g_bModified, 0);
    Type(dlg.TitleEdit(), " ");  // "  "
    EXPECT_EQ(g_strTitle[1], "  ");
    EXPECT_EQ(g_bModified, 1);

    g_bModified = 0;
    dlg.TitleEdit()->setText(" ");
    EXPECT_EQ(g_bModified, 0);
    dlg.TitleEdit()->setText("");
    EXPECT_EQ(g_strTitle[1], "");
    EXPECT_EQ(g_bModified, 1);
}

TEST_F(TitleDlgTest, SetSendsTheTitleOrShowsTheMessageOfItsFault) {
    CTitleDlg dlg(nullptr, &ime);
    g_bModified = 0;
    dlg.TitleEdit()->setText("あ");
    g_bModified = 0;
    dlg.Button(IDC_SET)->click();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "CA012422" + Repeat("2121", 15) + "\r\n");
    EXPECT_EQ(g_bModified, 0);  // Set alone does not mark the settings

    dlg.TitleEdit()->setText("AB");
    dlg.Button(IDC_SET)->click();
    dlg.TitleEdit()->setText("①");
    EXPECT_EQ(g_strTitle[0], "\x87\x40");
    dlg.Button(IDC_SET)->click();
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kWarning, kNotJisLevel12Warning},
                                                    {BoxKind::kWarning, kOutOfSpecWarning}}));
}

TEST_F(TitleDlgTest, SetTakesTheListsAndLeavesAnRs232AddressAlone) {
    g_nSlaveAddress = 7;
    CTitleDlg dlg(nullptr, &ime);
    Pick(dlg.Combo(IDC_TITLE_CHANNEL), 9);
    dlg.TitleEdit()->setText("い");
    dlg.Button(IDC_SET)->click();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 8), "CA102424");
    EXPECT_EQ(g_nSlaveAddress, 7);  // the disabled list holds the address it opened with
    EXPECT_EQ(g_hMsgOwner, &dlg);
}

// 32 or 64 titles, the counter counting them, two blanks at the end.
TEST_F(TitleDlgTest, AllChannelSetSendsEveryTitleOfTheModel) {
    wire.AnswerAsSwitcher();
    for (int model : {0, 1}) {
        g_nModel = model;
        lines.clear();
        g_strTitle[5] = "AB";
        CTitleDlg dlg(nullptr, &ime);
        dlg.Button(IDC_ALL_SET)->click();
        EXPECT_EQ(dlg.CycleTimer().interval(), 250);
        EXPECT_FALSE(dlg.Button(IDCANCEL)->isEnabled());
        const int n = 32 + 32 * model;
        for (int tick = 1; tick <= n; ++tick) {
            dlg.OnCycleTimer();
            if (tick == 12) {
                EXPECT_EQ(dlg.Counter()->text(), "12");
            }
        }
        ASSERT_EQ(static_cast<int>(lines.size()), n - 1);
        EXPECT_EQ(lines[0].substr(0, 4), "CA01");
        EXPECT_EQ(lines[5].substr(0, 4), "CA07");  // channel 6 refused
        EXPECT_EQ(lines.back().substr(0, 4), n == 32 ? "CA32" : "CA64");
        EXPECT_EQ(dlg.Counter()->text(), QString::number(n));
        EXPECT_EQ(dlg.Status(),
                  QString("全 %1 項目のうち %2 項目を送信しました（送信しなかった項目: "
                          "タイトル 06）")
                      .arg(n)
                      .arg(n - 1));
        EXPECT_TRUE(dlg.Button(IDCANCEL)->isEnabled());
        EXPECT_EQ(g_nSendStep, 0);
    }
    EXPECT_EQ(sink.boxes.size(), 2u);
}

// One title after another: Enter stores nothing new, moves on and never closes.
TEST_F(TitleDlgTest, EnterInTheTitleMovesToTheNextChannelAndKeepsTheDialogOpen) {
    g_nCurChannel = 30;
    g_strTitle[31] = kI;
    CTitleDlg dlg(nullptr, &ime);
    ShowFocused(dlg);
    Type(dlg.TitleEdit(), "あ");
    PressKey(dlg.TitleEdit(), Qt::Key_Return);
    EXPECT_EQ(g_strTitle[30], kA);
    EXPECT_EQ(g_nCurChannel, 31);
    EXPECT_EQ(dlg.Combo(IDC_TITLE_CHANNEL)->currentText(), "32");
    EXPECT_EQ(dlg.TitleEdit()->text(), "い");
    EXPECT_EQ(dlg.MarkedCell(), 15);
    PressKey(dlg.TitleEdit(), Qt::Key_Enter);  // the last channel of the model stays
    EXPECT_EQ(g_nCurChannel, 31);
    EXPECT_EQ(g_strTitle[31], kI);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(TitleDlgTest, TheTitleTakesAtMost32ShiftJisBytes) {
    CTitleDlg dlg(nullptr, &ime);
    QLineEdit* edit = dlg.TitleEdit();
    Type(edit, QString(16, QChar(u'あ')));
    Type(edit, "い");
    EXPECT_EQ(edit->text(), QString(16, QChar(u'あ')));
    EXPECT_EQ(g_strTitle[0], Repeat(kA, 16));

    edit->setText(QString(15, QChar(u'あ')));
    Type(edit, "ab");
    Type(edit, "c");
    EXPECT_EQ(edit->text(), QString(15, QChar(u'あ')) + "ab");
    EXPECT_EQ(g_strTitle[0].size(), 32u);
}

TEST_F(TitleDlgTest, VariantCharactersAreStoredAsTheWindowsBytesAndShownBack) {
    CTitleDlg dlg(nullptr, &ime);
    Type(dlg.TitleEdit(), QString::fromUtf8("〜−‖—"));
    EXPECT_EQ(g_strTitle[0], "\x81\x60\x81\x7C\x81\x61\x81\x5C");

    g_strTitle[1] = "\x81\x60\x81\x7C";
    Pick(dlg.Combo(IDC_TITLE_CHANNEL), 1);
    EXPECT_EQ(dlg.TitleEdit()->text(), QString::fromUtf8("～－"));
    EXPECT_EQ(g_strTitle[1], "\x81\x60\x81\x7C");
}

TEST_F(TitleDlgTest, ACharacterWithoutAShiftJisFormCannotBeTyped) {
    g_strTitle[0] = kA;
    CTitleDlg dlg(nullptr, &ime);
    for (const char* typed : {"¥", "é", "😀"}) {
        Type(dlg.TitleEdit(), QString::fromUtf8(typed));
        EXPECT_EQ(dlg.TitleEdit()->text(), "あ") << typed;
    }
    EXPECT_EQ(g_strTitle[0], kA);
}

// A title read from a file is kept byte for byte until the user edits it.
TEST_F(TitleDlgTest, ShowingATitleNeverRewritesItsBytes) {
    g_strTitle[0] = "\xED\x40\x80";  // NEC-selected extension, then a stray byte
    CTitleDlg dlg(nullptr, &ime);
    EXPECT_EQ(g_strTitle[0], "\xED\x40\x80");
    Type(dlg.TitleEdit(), "あ");
    EXPECT_EQ(g_strTitle[0].substr(2), kA);  // the unreadable byte is gone
}

TEST_F(TitleDlgTest, TheInputMethodIsOpenedAtStartAndRestoredOnlyOnCancel) {
    auto run = [this](bool bWasOpen, const std::function<void(CTitleDlg&)>& close) {
        ime.calls.clear();
        ime.bOpen = bWasOpen;
        CTitleDlg dlg(nullptr, &ime);
        EXPECT_TRUE(ime.calls.empty());  // nothing before the edit has the focus
        ShowFocused(dlg);
        EXPECT_EQ(ime.calls, (std::vector<std::string>{"read", "on"}));
        EXPECT_EQ(g_bImeWasOpen, bWasOpen ? 1 : 0);
        close(dlg);
        EXPECT_FALSE(dlg.isVisible());
        return ime.calls;
    };
    using Calls = std::vector<std::string>;
    EXPECT_EQ(run(false, [](CTitleDlg& d) { d.Button(IDCANCEL)->click(); }),
              (Calls{"read", "on", "off"}));
    EXPECT_EQ(run(true, [](CTitleDlg& d) { PressEscape(&d); }), (Calls{"read", "on", "on"}));
    EXPECT_EQ(run(false, [](CTitleDlg& d) { d.close(); }), (Calls{"read", "on", "off"}));
    EXPECT_EQ(run(false, [](CTitleDlg& d) { d.Button(IDOK)->click(); }), (Calls{"read", "on"}));
}

TEST_F(TitleDlgTest, MessagesBelongToTheDialogWhileItIsOpen) {
    QWidget main;
    g_hMsgOwner = &main;
    {
        CTitleDlg dlg(&main, &ime);
        EXPECT_EQ(g_hMsgOwner, &dlg);
        dlg.Button(IDCANCEL)->click();
        EXPECT_EQ(g_hMsgOwner, &main);
    }
    CTitleDlg dlg(&main, &ime);
    dlg.Button(IDOK)->click();
    EXPECT_EQ(g_hMsgOwner, &main);
}

// While the titles go out the field takes no typing (it would not be stored);
// the channel list stays live. Esc stops the run once the line in flight is
// answered, and the dialog stays open to say so.
TEST_F(TitleDlgTest, DuringTheCycleTypingIsRefusedAndEscStopsItAfterTheLineInFlight) {
    g_strTitle[0] = kA;
    CTitleDlg dlg(nullptr, &ime);
    ShowFocused(dlg);
    dlg.Button(IDC_ALL_SET)->click();
    dlg.OnCycleTimer();
    EXPECT_TRUE(dlg.TitleEdit()->isReadOnly());
    EXPECT_FALSE(dlg.Button(IDC_SET)->isEnabled());
    EXPECT_FALSE(dlg.Button(IDC_ALL_SET)->isEnabled());
    // Neither the keyboard nor the input method reaches the field meanwhile.
    EXPECT_FALSE(dlg.TitleEdit()->testAttribute(Qt::WA_InputMethodEnabled));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    QApplication::sendEvent(dlg.TitleEdit(), &key);
    EXPECT_EQ(g_strTitle[0], kA);
    EXPECT_EQ(dlg.TitleEdit()->text(), "あ");
    Pick(dlg.Combo(IDC_TITLE_CHANNEL), 2);  // still chooses the channel
    EXPECT_EQ(g_nCurChannel, 2);
    dlg.OnCycleTimer();

    PressEscape(&dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_TRUE(dlg.CycleRunning());  // CA02 awaits its answer
    EXPECT_EQ(ime.calls, (std::vector<std::string>{"read", "on"}));
    EXPECT_EQ(g_hMsgOwner, &dlg);
    dlg.close();  // nothing more to stop: still open
    EXPECT_TRUE(dlg.isVisible());
    for (int i = 0; i < 2; ++i) Link().Replies().Push("GO\r\n");
    dlg.OnCycleTimer();
    EXPECT_FALSE(dlg.CycleRunning());
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(dlg.Counter()->text(), "2");
    EXPECT_EQ(dlg.Status(), "中止しました");
    EXPECT_FALSE(dlg.TitleEdit()->isReadOnly());
    EXPECT_TRUE(dlg.Button(IDC_ALL_SET)->isEnabled());

    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ime.calls, (std::vector<std::string>{"read", "on", "off"}));
}

TEST_F(TitleDlgTest, TheTablePaintsThePageOf16TitlesInTwoColumns) {
    g_nCurChannel = 20;
    g_strTitle[19] = kA + kI;
    CTitleView dlg(nullptr, &ime);
    EXPECT_EQ(dlg.GridEntryCount(), 16);
    EXPECT_EQ(dlg.GridCellText(0), "in17=");
    EXPECT_EQ(dlg.GridCellText(3), "in20=あい");
    EXPECT_EQ(dlg.GridCellText(15), "in32=");
    EXPECT_EQ(GridCellPosition(8, dlg.GridColumnWidth()), (CGridPoint{330, 16}));
    Pick(dlg.Combo(IDC_TITLE_CHANNEL), 63 - 32);  // "32"
    EXPECT_EQ(dlg.GridCellText(0), "in17=");
    g_nModel = 1;
    CTitleView wide(nullptr, &ime);
    Pick(wide.Combo(IDC_TITLE_CHANNEL), 63);
    EXPECT_EQ(wide.GridCellText(15), "in64=");

    // The second column starts 320 pixels to the right: ink there, none beyond.
    dlg.show();
    const QImage table =
        dlg.findChild<QWidget*>(QString::number(IDC_TITLE_TABLE))->grab().toImage();
    auto inkIn = [&table](int x0, int x1) {
        for (int y = 10; y < 170; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (qGray(table.pixel(x, y)) < 128) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(inkIn(330, 360));
    EXPECT_FALSE(inkIn(420, table.width() - 2));
}

TEST_F(TitleDlgTest, AClickOrAKeyPicksAChannelOfThePageAndTheKeysTurnPages) {
    g_nCurChannel = 20;  // the page of channels 17..32
    g_strTitle[25] = kI;
    g_strTitle[31] = " ";
    CTitleView dlg(nullptr, &ime);
    dlg.show();
    g_bModified = 0;
    ClickAt(dlg.Table(), {485, 43});  // in26: second column of 320 pixels, second row
    EXPECT_EQ(g_nCurChannel, 25);
    EXPECT_EQ(dlg.Combo(IDC_TITLE_CHANNEL)->currentText(), "26");
    EXPECT_EQ(dlg.TitleEdit()->text(), "い");
    EXPECT_EQ(dlg.MarkedCell(), 9);
    EXPECT_EQ(g_bModified, 1);  // showing a title stores it, as a pick in the list does
    for (int i = 0; i < 16; ++i) {
        const CGridPoint centre = GridCellCentre(i, 320);
        ClickAt(dlg.Table(), {centre.x, centre.y});
        ASSERT_EQ(g_nCurChannel, 16 + i);
    }
    g_bModified = 0;
    ClickAt(dlg.Table(), {485, 200});  // below the grid
    EXPECT_EQ(g_nCurChannel, 31);
    EXPECT_EQ(g_bModified, 0);

    PressKey(dlg.Table(), Qt::Key_Home);
    PressKey(dlg.Table(), Qt::Key_Right);
    PressKey(dlg.Table(), Qt::Key_Right);  // on to the next page's first column
    EXPECT_EQ(g_nCurChannel, 16);
    EXPECT_EQ(dlg.GridCellText(0), "in17=");
    PressKey(dlg.Table(), Qt::Key_Up);
    EXPECT_EQ(g_nCurChannel, 15);
    EXPECT_EQ(dlg.GridCellText(0), "in01=");
    EXPECT_EQ(dlg.MarkedCell(), 15);
    PressKey(dlg.Table(), Qt::Key_PageDown);
    EXPECT_EQ(g_nCurChannel, 31);
    PressKey(dlg.Table(), Qt::Key_PageDown);  // no page after channel 32
    EXPECT_EQ(g_nCurChannel, 31);
    PressKey(dlg.Table(), Qt::Key_PageUp);
    EXPECT_EQ(dlg.Combo(IDC_TITLE_CHANNEL)->currentText(), "16");
}

// The channel list stays live during the cycle, and so does the grid.
TEST_F(TitleDlgTest, DuringTheCycleTheGridStillPicksTheChannelAsTheListDoes) {
    g_strTitle[5] = kA;
    CTitleDlg dlg(nullptr, &ime);
    dlg.show();
    dlg.Button(IDC_ALL_SET)->click();
    dlg.OnCycleTimer();
    const CGridPoint centre = GridCellCentre(5, 320);
    ClickAt(dlg.Table(), {centre.x, centre.y});
    EXPECT_EQ(g_nCurChannel, 5);
    EXPECT_EQ(dlg.TitleEdit()->text(), "あ");
    PressKey(dlg.Table(), Qt::Key_Down);
    EXPECT_EQ(g_nCurChannel, 6);
    Type(dlg.TitleEdit(), "い");
    EXPECT_EQ(g_strTitle[6], "");  // typing is still not stored
}

// Set QELVAR_SCREENSHOT_DIR to keep the picture.
TEST_F(TitleDlgTest, Screenshot) {
    g_nModel = 1;
    g_strTitle[0] = "\x93\x8C\x8B\x9E\x89\x77";                  // 東京駅
    g_strTitle[1] = "\x90\x56\x91\xE5\x8D\xE3\x81\x60\x82\x51";  // 新大阪～２
    g_strTitle[8] = "\x83\x8D\x83\x72\x81\x5B";                  // ロビー
    g_strTitle[9] = Repeat("\x81\xA1", 16);                      // ■ x 16
    CTitleDlg dlg(nullptr, &ime);
    dlg.show();
    const QImage image = dlg.grab().toImage();
    EXPECT_EQ(image.size(), dlg.size());
    const QByteArray dir = qgetenv("QELVAR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(dir));
        EXPECT_TRUE(image.save(QString::fromLocal8Bit(dir) + "/title.png"));
    }
}

TEST_F(TitleDlgTest, TheMenuOpensIt) {
    CTempDir dir;
    CPtyPair pty;
    Link().SetProfilePath(dir.File("p.ini"));
    Link().SetCommPortOverride(pty.SlavePath());
    {
        CMainFrame frame;
        EXPECT_TRUE(frame.Action(ID_TITLE)->isEnabled());
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget* dlg = QApplication::activeModalWidget();
            title = dlg->windowTitle();
            EXPECT_EQ(g_hMsgOwner, dlg);
            dlg->close();
        });
        frame.Action(ID_TITLE)->trigger();
        EXPECT_EQ(title, "タイトル設定 File Name ");
        EXPECT_EQ(g_hMsgOwner, &frame);
    }
    Link().SetCommPortOverride("");
    Link().SetProfilePath("");
}

}  // namespace
