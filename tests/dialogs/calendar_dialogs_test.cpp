#include <QComboBox>
#include <QPushButton>

#include "app/main_frame.h"
#include "dialog_kit/corner_clicks.h"
#include "dialogs/calendar_dlg.h"
#include "dialogs/slave_address_dlg.h"
#include "link/comm_settings.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/editor_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class CalendarDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { g_nCornerClicks = 0; }
    CWireCapture wire;
    std::vector<std::string>& lines = wire.lines;
    static void Click(QDialog& dlg, int id) { FindControl<QPushButton>(dlg, id)->click(); }
    static CCalendarDlg::Clock Clock(const std::tm& t) {
        return [t] { return t; };
    }
    CRecordingSink sink;
};

TEST_F(CalendarDialogsTest, CalendarOpensOnTheClockAndEachSetSendsItsOwnLine) {
    g_strFileName = "/srv/a.dat";
    g_nCornerClicks = 6;
    g_nSendStep = 4;  // the calendar's buttons work whatever a cycle does
    CCalendarDlg dlg(nullptr, Clock(CalendarTime(2009, 3, 9, 7, 5, 30)));
    EXPECT_EQ(dlg.windowTitle(), "カレンダ File Name /srv/a.dat");
    EXPECT_EQ(g_nCornerClicks, 0);
    QStringList shown;
    for (int id : {IDC_CAL_YEAR, IDC_CAL_MONTH, IDC_CAL_DAY, IDC_CAL_HOUR, IDC_CAL_MINUTE,
                   IDC_CAL_SECOND, IDC_CAL_DISPLAY}) {
        shown << dlg.Combo(id)->currentText();
    }
    EXPECT_EQ(shown, (QStringList{"09", "3", "9", "7", "5", "30", "年.月.日"}));
    EXPECT_FALSE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());  // RS-232C

    for (int id : {IDC_CAL_SET_YEAR, IDC_CAL_SET_MONTH, IDC_CAL_SET_DAY, IDC_CAL_SET_HOUR,
                   IDC_CAL_SET_MINUTE, IDC_CAL_SET_SECOND, IDC_CAL_ADJUST, IDC_CAL_SET_DISPLAY}) {
        Click(dlg, id);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"DSY09\r\n", "DSM03\r\n", "DSD09\r\n", "TSH07\r\n",
                                               "TSM05\r\n", "TSS30\r\n", "TSA\r\n", "TSDY\r\n"}));
}

TEST_F(CalendarDialogsTest, ChoosingADisplayFormatStoresItAndOnlySetSendsIt) {
    CCalendarDlg dlg(nullptr, Clock(CalendarTime(2030, 12, 31, 23, 59, 59)));
    Pick(dlg.Combo(IDC_CAL_DISPLAY), 2);  // 日/月/年
    EXPECT_EQ(g_nDateFormat, 2);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(lines.empty());
    Click(dlg, IDC_CAL_SET_DISPLAY);
    Pick(dlg.Combo(IDC_CAL_DAY), 0);
    Click(dlg, IDC_CAL_SET_DAY);  // the picked day, not the clock's
    Click(dlg, IDC_CAL_SET_YEAR);
    EXPECT_EQ(lines, (std::vector<std::string>{"TSDD\r\n", "DSD01\r\n", "DSY30\r\n"}));

    g_nDateFormat = 1;
    CCalendarDlg again(nullptr, Clock(CalendarTime(2030, 1, 1, 0, 0, 0)));
    EXPECT_EQ(again.Combo(IDC_CAL_DISPLAY)->currentText(), "月-日-年");
}

TEST_F(CalendarDialogsTest, AYearOutsideTheListLeavesYearEmptyAndItsSetSendsNothing) {
    for (int year : {1999, 2100}) {
        CCalendarDlg dlg(nullptr, Clock(CalendarTime(year, 6, 15, 12, 0, 0)));
        EXPECT_EQ(dlg.Combo(IDC_CAL_YEAR)->currentIndex(), -1) << year;
        Click(dlg, IDC_CAL_SET_YEAR);
        Click(dlg, IDC_CAL_SET_MONTH);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"DSM06\r\n", "DSM06\r\n"}));
}

TEST_F(CalendarDialogsTest, OnRs485EveryLineCarriesTheChosenSlaveAddress) {
    g_bRs485 = 1;
    g_nSlaveAddress = 12;
    CCalendarDlg dlg(nullptr, Clock(CalendarTime(2009, 3, 9, 7, 5, 30)));
    EXPECT_TRUE(dlg.Combo(IDC_SLAVE_ADDRESS)->isEnabled());
    EXPECT_EQ(dlg.Combo(IDC_SLAVE_ADDRESS)->currentText(), "12");
    Pick(dlg.Combo(IDC_SLAVE_ADDRESS), 3);
    EXPECT_EQ(g_nSlaveAddress, 3);
    Click(dlg, IDC_CAL_SET_MONTH);
    Click(dlg, IDC_CAL_ADJUST);
    EXPECT_EQ(lines, (std::vector<std::string>{"03DSM03\r\n", "03TSA\r\n"}));
}

TEST_F(CalendarDialogsTest, SlaveAddressOpensOnTheAddressInUseAndStaysEnabledOnBothInterfaces) {
    g_strFileName = "/srv/b.dat";
    g_nSlaveAddress = 7;
    g_nCornerClicks = 2;
    for (int rs485 : {1, 0}) {
        g_bRs485 = rs485;
        CSlaveAddressDlg dlg;
        auto* list = FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS);
        EXPECT_EQ(list->currentText(), "07") << rs485;
        EXPECT_EQ(list->count(), 32);
        EXPECT_TRUE(list->isEnabled()) << rs485;
        EXPECT_EQ(dlg.windowTitle(), "スレーブ・アドレス File Name /srv/b.dat");
    }
    EXPECT_EQ(g_nCornerClicks, 0);
    EXPECT_EQ(g_nSlaveAddress, 7);
}

TEST_F(CalendarDialogsTest, SlaveAddressSetSendsSaWithTheOldPrefixAndKeepsTheModelAddress) {
    g_bRs485 = 1;
    CSlaveAddressDlg dlg;
    Pick(FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS), 31);
    Click(dlg, IDC_SET);
    EXPECT_EQ(g_nSlaveAddress, 0);
    g_nSlaveAddress = 3;
    Pick(FindControl<QComboBox>(dlg, IDC_SLAVE_ADDRESS), 5);
    Click(dlg, IDC_SET);
    EXPECT_EQ(g_nSlaveAddress, 3);

    g_bRs485 = 0;
    g_nSlaveAddress = 0;
    CSlaveAddressDlg lone;
    Click(lone, IDC_SET);
    EXPECT_EQ(lines, (std::vector<std::string>{"00SA31\r\n", "03SA05\r\n", "SA00\r\n"}));
}

TEST_F(CalendarDialogsTest, SlaveAddressSetDoesNothingWhileACycleRuns) {
    CSlaveAddressDlg dlg;
    g_nSendStep = 9;
    Click(dlg, IDC_SET);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
