#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>

#include "dialogs/display_switch_dlg.h"
#include "editors/table_grid.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/display_dialogs.h"
#include "res/editor_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

// What each member must look like and send.
struct CMember {
    DisplaySwitch which;
    int nCommand;
    const char* caption;
    int nValueId;
    int nSameId;
    bool bInput;
    bool bEditableChannel;
    const char* tag;
    char chOff;
    char chOn;
    const char* offCell;  // cell 3 with the entry at 0
    const char* onCell;   // cell 4 with the entry at 1
};

const CMember kMembers[] = {
    {DisplaySwitch::kInTitle, ID_INPUT_TITLE, "入力タイトル File Name ", 1077, 1076, true, false,
     "CTI", 'F', 'N', "in03=OFF", "in04=ON"},
    {DisplaySwitch::kOutTitle, ID_OUTPUT_TITLE, "出力タイトル File Name ", 1078, 1076, false, true,
     "CTO", 'F', 'N', "out03=OFF", "out04=ON"},
    {DisplaySwitch::kTitlePosition, ID_TITLE_POSITION, "タイトル表示位置 File Name ", 1075, 1074,
     true, true, "CPI", 'T', 'B', "in03=Top", "in04=Bot."},
    {DisplaySwitch::kInCalendar, ID_INPUT_CALENDAR, "入力カレンダ File Name ", 1077, 1076, true,
     true, "TSI", 'F', 'N', "in03=OFF", "in04=ON"},
    {DisplaySwitch::kOutCalendar, ID_OUTPUT_CALENDAR, "出力カレンダ File Name ", 1077, 1076, false,
     true, "TSO", 'F', 'N', "out03=OFF", "out04=ON"},
};

void PrintTo(const CMember& m, std::ostream* os) {
    *os << m.tag;
}

// The dialog with its grid's contents in reach.
class CGridView : public CDisplaySwitchDlg {
public:
    using CDisplaySwitchDlg::CDisplaySwitchDlg;
    using CDisplaySwitchDlg::GridCellText;
    using CDisplaySwitchDlg::GridColumnWidth;
    using CDisplaySwitchDlg::GridEntryCount;
};

class DisplaySwitchDlgTest : public ::testing::TestWithParam<CMember> {
protected:
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;
    static void Key(QWidget* target, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    const CMember& m = GetParam();
    int* Table() const { return DisplaySwitchSpec(m.which).pTable; }
    int& Same() const { return *DisplaySwitchSpec(m.which).pSameValue; }
    int& Selection() const { return m.bInput ? g_nCurChannel : g_nCurOutput; }
    std::string Line(int nOff, int nCount) const {
        return m.tag + std::string(nOff, m.chOff) + std::string(nCount - nOff, m.chOn) + "\r\n";
    }
    CRecordingSink sink;
};

TEST_P(DisplaySwitchDlgTest, OpensOnTheSharedSelectionUnderItsCaption) {
    Selection() = 4;
    Table()[4] = 0;
    Same() = 0;
    g_strFileName = "/home/op/site.dat";
    g_nCornerClicks = 2;
    CDisplaySwitchDlg dlg(m.which);
    EXPECT_EQ(dlg.windowTitle().toStdString(), std::string(m.caption) + "/home/op/site.dat");
    EXPECT_EQ(g_nCornerClicks, 0);
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->currentText(), "05");
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->count(), 32);
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->isEditable(), m.bEditableChannel);
    ASSERT_EQ(dlg.ValueCombo(), dlg.Combo(m.nValueId));
    ASSERT_EQ(dlg.SameCombo(), dlg.Combo(m.nSameId));
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 0);
    EXPECT_EQ(dlg.SameCombo()->currentIndex(), 0);
    EXPECT_FALSE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());  // RS-232C

    Table()[4] = 1;
    Same() = 1;
    CDisplaySwitchDlg again(m.which);
    EXPECT_EQ(again.ValueCombo()->currentIndex(), 1);
    EXPECT_EQ(again.SameCombo()->currentIndex(), 1);
}

TEST_P(DisplaySwitchDlgTest, TheModelSetsTheInputMembersChannelsGridAndLine) {
    Table()[0] = 0;
    for (int model : {0, 1}) {
        g_nModel = model;
        const int n = m.bInput && model == 1 ? 64 : 32;
        CGridView dlg(m.which);
        EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->count(), n) << model;
        EXPECT_EQ(dlg.GridEntryCount(), n) << model;
        EXPECT_EQ(dlg.GridColumnWidth(), n == 64 ? 80 : 160) << model;
        lines.clear();
        dlg.Button(IDC_SET)->click();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], Line(1, n)) << model;
        EXPECT_EQ(lines[0].size(), n == 64 ? 69u : 37u);
    }
}

TEST_P(DisplaySwitchDlgTest, ListsWriteTheModelWithoutMarkingItUnsaved) {
    CGridView dlg(m.which);
    Pick(dlg.Combo(IDC_DISP_CHANNEL), 2);
    EXPECT_EQ(Selection(), 2);
    Pick(dlg.ValueCombo(), 0);
    EXPECT_EQ(Table()[2], 0);
    EXPECT_EQ(dlg.GridCellText(2), m.offCell);
    EXPECT_EQ(dlg.GridCellText(3), m.onCell);

    Pick(dlg.Combo(IDC_DISP_CHANNEL), 3);
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 1);  // follows the channel
    Pick(dlg.Combo(IDC_DISP_CHANNEL), 2);
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 0);

    if (m.bInput) Table()[40] = 0;  // beyond the 32-input model
    Pick(dlg.SameCombo(), 0);
    EXPECT_EQ(Same(), 0);
    Pick(dlg.SameCombo(), 1);
    EXPECT_EQ(Same(), 1);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(Table()[i], 1) << i;
    if (m.bInput) {
        EXPECT_EQ(Table()[40], 0);
    }
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 1);  // the current entry's new value
    EXPECT_EQ(g_bModified, 0);

    Pick(dlg.Combo(IDC_SLAVE_ADDRESS), 7);
    EXPECT_EQ(g_nSlaveAddress, 7);
}

TEST_P(DisplaySwitchDlgTest, SameOnThe64InputModelSetsEveryChannelInUse) {
    g_nModel = 1;
    const int n = m.bInput ? 64 : 32;  // the outputs ignore the model
    CDisplaySwitchDlg dlg(m.which);
    Pick(dlg.SameCombo(), 0);
    for (int i = 0; i < n; ++i) ASSERT_EQ(Table()[i], 0) << i;
    dlg.Button(IDC_SET)->click();
    EXPECT_EQ(lines, (std::vector<std::string>{Line(n, n)}));
}

TEST_P(DisplaySwitchDlgTest, SetSendsTheTableEachTimeButNothingWhileACycleRuns) {
    Table()[0] = 0;
    Table()[1] = 0;
    CDisplaySwitchDlg dlg(m.which);
    dlg.Button(IDC_SET)->click();
    dlg.Button(IDC_SET)->click();
    EXPECT_EQ(lines, (std::vector<std::string>{Line(2, 32), Line(2, 32)}));

    g_nSendStep = 1;
    dlg.Button(IDC_SET)->click();
    Pick(dlg.ValueCombo(), 1);
    Pick(dlg.SameCombo(), 0);
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(Table()[0], 0);
    EXPECT_EQ(Table()[5], 1);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_P(DisplaySwitchDlgTest, OnRs485TheLineCarriesTheSlaveAddress) {
    g_bRs485 = 1;
    g_nSlaveAddress = 5;
    CDisplaySwitchDlg dlg(m.which);
    EXPECT_TRUE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());
    EXPECT_EQ(dlg.Combo(IDC_SLAVE_ADDRESS)->currentText(), "05");
    dlg.Button(IDC_SET)->click();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "05" + Line(0, 32));
}

// Typing alone leaves the channel; Enter goes to the typed one and never
// reaches the default button.
TEST_P(DisplaySwitchDlgTest, EnterInTheChannelFieldGoesToTheTypedChannelAndKeepsTheDialogOpen) {
    Selection() = 1;
    Table()[6] = 1;
    Table()[4] = 0;
    CDisplaySwitchDlg dlg(m.which);
    dlg.show();
    QComboBox* channel = dlg.Combo(IDC_DISP_CHANNEL);
    ASSERT_EQ(channel->lineEdit() != nullptr, m.bEditableChannel);
    if (!m.bEditableChannel) return;  // a drop-down list: picks only
    channel->lineEdit()->setText("07");
    emit channel->lineEdit()->editingFinished();  // as when the focus leaves
    EXPECT_EQ(Selection(), 1);

    PressKey(channel->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(Selection(), 6);
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 1);
    EXPECT_EQ(dlg.MarkedCell(), 6);
    channel->lineEdit()->setText("5");
    PressKey(channel->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(Selection(), 4);
    EXPECT_EQ(channel->currentText(), "05");
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 0);
    // A number the list lacks, or no number, shows the selected channel again.
    for (const char* typed : {"99", "0", "x"}) {
        channel->lineEdit()->setText(typed);
        PressKey(channel->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(Selection(), 4) << typed;
        EXPECT_EQ(channel->lineEdit()->text(), "05") << typed;
    }
    EXPECT_EQ(channel->count(), 32);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);

    channel->setCurrentIndex(1);
    Key(channel, Qt::Key_Down);  // the arrow keys pick from the list
    EXPECT_EQ(Selection(), 2);
}

TEST_P(DisplaySwitchDlgTest, AClickOnACellPicksItsChannelAndTheArrowKeysMoveIt) {
    Table()[9] = 0;
    CDisplaySwitchDlg dlg(m.which);
    dlg.show();
    ClickAt(dlg.Table(), {245, 43});  // entry 10: second column of 160 pixels, second row
    EXPECT_EQ(Selection(), 9);
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->currentText(), "10");
    EXPECT_EQ(dlg.ValueCombo()->currentIndex(), 0);  // the value list follows
    EXPECT_EQ(dlg.MarkedCell(), 9);
    for (int i = 0; i < 32; ++i) {
        const CGridPoint centre = GridCellCentre(i, 160);
        ClickAt(dlg.Table(), {centre.x, centre.y});
        ASSERT_EQ(Selection(), i);
    }
    PressKey(dlg.Table(), Qt::Key_Left);
    PressKey(dlg.Table(), Qt::Key_Left);
    PressKey(dlg.Table(), Qt::Key_Up);
    EXPECT_EQ(Selection(), 14);
    PressKey(dlg.Table(), Qt::Key_PageDown);  // no pages here
    EXPECT_EQ(Selection(), 14);
    PressKey(dlg.Table(), Qt::Key_Down);
    PressKey(dlg.Table(), Qt::Key_Down);
    PressKey(dlg.Table(), Qt::Key_Down);
    EXPECT_EQ(Selection(), 17);  // on from the foot of the column
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->currentText(), "18");
    EXPECT_EQ(g_bModified, 0);

    g_nModel = 1;
    CDisplaySwitchDlg wide(m.which);
    wide.show();
    ClickAt(wide.Table(), {445, 43});  // 8 columns of 80 pixels for 64 inputs
    EXPECT_EQ(Selection(), m.bInput ? 41 : 17);
}

TEST_P(DisplaySwitchDlgTest, TheGridIsInertWhileACycleRunsAsTheListsAre) {
    Selection() = 3;
    CDisplaySwitchDlg dlg(m.which);
    dlg.show();
    g_nSendStep = 5;  // the all-items run, say
    const CGridPoint centre = GridCellCentre(20, 160);
    ClickAt(dlg.Table(), {centre.x, centre.y});
    PressKey(dlg.Table(), Qt::Key_Down);
    EXPECT_EQ(Selection(), 3);
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->currentText(), "04");
    g_nSendStep = 0;
    PressKey(dlg.Table(), Qt::Key_Down);
    EXPECT_EQ(Selection(), 4);
}

TEST_P(DisplaySwitchDlgTest, TheMenuOpensIt) {
    CTempDir dir;
    CPtyPair pty;
    Link().SetProfilePath(dir.File("p.ini"));
    Link().SetCommPortOverride(pty.SlavePath());
    {
        CMainFrame frame;
        ASSERT_TRUE(frame.Action(m.nCommand)->isEnabled());
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget* dlg = QApplication::activeModalWidget();
            title = dlg->windowTitle();
            dlg->close();
        });
        frame.Action(m.nCommand)->trigger();
        EXPECT_EQ(title.toStdString(), m.caption);
    }
    Link().SetCommPortOverride("");
    Link().SetProfilePath("");
}

INSTANTIATE_TEST_SUITE_P(Members, DisplaySwitchDlgTest, ::testing::ValuesIn(kMembers),
                         [](const auto& info) { return std::string(info.param.tag); });

TEST(DisplaySwitchDefaults, TitlePositionSendsBottomForEveryInput) {
    ResetProgramState();
    std::vector<std::string> lines;
    Link().SetLineTap([&](std::string_view line) { lines.emplace_back(line); });
    for (int model : {0, 1}) {
        g_nModel = model;
        CGridView dlg(DisplaySwitch::kTitlePosition);
        dlg.Button(IDC_SET)->click();
        EXPECT_EQ(dlg.GridCellText(0), "in01=Bot.");
    }
    Link().SetLineTap({});
    EXPECT_EQ(lines, (std::vector<std::string>{"CPI" + std::string(32, 'B') + "\r\n",
                                               "CPI" + std::string(64, 'B') + "\r\n"}));
}

TEST(DisplaySwitchDefaults, AnInputBeyondTheModelLeavesTheChannelListBlank) {
    ResetProgramState();
    g_nCurChannel = 40;
    g_nInCalendarDisp[40] = 0;
    CDisplaySwitchDlg dlg(DisplaySwitch::kInCalendar);
    EXPECT_EQ(dlg.Combo(IDC_DISP_CHANNEL)->currentIndex(), -1);
    EXPECT_EQ(dlg.ValueCombo()->currentText(), "OFF");
}

}  // namespace
