// On RS-232C every editor's slave address list is disabled; the title and
// display switch editors still show the address they opened with, the others
// show none.
#include "dialogs/auto_sequence_dlg.h"
#include "dialogs/calendar_dlg.h"
#include "dialogs/display_switch_dlg.h"
#include "dialogs/pattern_output_dlg.h"
#include "dialogs/title_dlg.h"
#include "model/settings_model.h"
#include "res/editor_dialogs.h"
#include "tests/app/app_fixture.h"

namespace {

class CQuietInputMethod : public CInputMethod {
public:
    bool IsOpen() override { return false; }
    void SetOpen(bool) override {}
};

struct CShownAddress {
    std::string editor;
    bool bEnabled;
    QString shown;
    bool operator==(const CShownAddress&) const = default;
};

void PrintTo(const CShownAddress& a, std::ostream* os) {
    *os << a.editor << (a.bEnabled ? " enabled " : " disabled ") << '"' << a.shown.toStdString()
        << '"';
}

CShownAddress Shown(const std::string& editor, const QComboBox* list) {
    return {editor, list->isEnabled(), list->currentText()};
}

TEST(SlaveAddressListTest, OnRs232OnlyTheTitleAndDisplayEditorsShowTheAddressTheyOpenedWith) {
    ResetProgramState();
    g_nSlaveAddress = 7;
    CQuietInputMethod ime;
    std::vector<CShownAddress> shown;
    shown.push_back(Shown("title", CTitleDlg(nullptr, &ime).Combo(IDC_SLAVE_ADDRESS)));
    for (auto which :
         {DisplaySwitch::kInTitle, DisplaySwitch::kOutTitle, DisplaySwitch::kTitlePosition,
          DisplaySwitch::kInCalendar, DisplaySwitch::kOutCalendar}) {
        shown.push_back(Shown("display", CDisplaySwitchDlg(which).Combo(IDC_SLAVE_ADDRESS)));
    }
    shown.push_back(Shown("sequence", CAutoSequenceDlg().Combo(IDC_SLAVE_ADDRESS)));
    shown.push_back(Shown("output", CPatternOutputDlg().Combo(IDC_SLAVE_ADDRESS)));
    shown.push_back(Shown("calendar", CCalendarDlg().Combo(IDC_SLAVE_ADDRESS)));

    const std::vector<CShownAddress> expected{
        {"title", false, "07"},   {"display", false, "07"}, {"display", false, "07"},
        {"display", false, "07"}, {"display", false, "07"}, {"display", false, "07"},
        {"sequence", false, ""},  {"output", false, ""},    {"calendar", false, ""}};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(g_nSlaveAddress, 7);
}

}  // namespace
