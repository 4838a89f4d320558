#include "dialogs/calendar_dlg.h"

#include <QComboBox>
#include <QPushButton>

#include "dialog_kit/corner_clicks.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/editor_caption.h"
#include "dialog_kit/found_model.h"
#include "link/comm_settings.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/editor_dialogs.h"

namespace {

struct CSetButton {
    int nButtonId;
    int nListId;  // kNoId: the line takes no value
    CalendarItem item;
};

constexpr CSetButton kSetButtons[] = {
    {IDC_CAL_SET_YEAR, IDC_CAL_YEAR, CalendarItem::kYear},
    {IDC_CAL_SET_MONTH, IDC_CAL_MONTH, CalendarItem::kMonth},
    {IDC_CAL_SET_DAY, IDC_CAL_DAY, CalendarItem::kDay},
    {IDC_CAL_SET_HOUR, IDC_CAL_HOUR, CalendarItem::kHour},
    {IDC_CAL_SET_MINUTE, IDC_CAL_MINUTE, CalendarItem::kMinute},
    {IDC_CAL_SET_SECOND, IDC_CAL_SECOND, CalendarItem::kSecond},
    {IDC_CAL_ADJUST, kNoId, CalendarItem::kAdjust30Sec},
    {IDC_CAL_SET_DISPLAY, IDC_CAL_DISPLAY, CalendarItem::kDisplay},
};

}  // namespace

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

CCalendarDlg::CCalendarDlg(QWidget* parent, const Clock& clock) : QDialog(parent) {
    BuildDialog(*this, CalendarTemplate());
    ShowTime(clock());
    Select(IDC_CAL_DISPLAY, g_nDateFormat);
    InitSlaveAddress();
    setWindowTitle(EditorCaption("カレンダ File Name "));
    g_nCornerClicks = 0;

    for (const CSetButton& b : kSetButtons) {
        connect(FindControl<QPushButton>(*this, b.nButtonId), &QPushButton::clicked, this,
                [this, b] { OnSet(b.item, b.nListId); });
    }
    connect(Combo(IDC_CAL_DISPLAY), &QComboBox::activated, this,
            [this](int index) { OnSelchangeDisplay(index); });
}

QComboBox* CCalendarDlg::Combo(int id) const {
    return FindControl<QComboBox>(*this, id);
}

void CCalendarDlg::Select(int comboId, int index) {
    QComboBox* combo = Combo(comboId);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

// A year outside 2000..2099 leaves Year without a selection.
void CCalendarDlg::ShowTime(const std::tm& now) {
    const CCalendarSelection s = CalendarSelectionFor(now);
    Select(IDC_CAL_YEAR, s.nYear);
    Select(IDC_CAL_MONTH, s.nMonth);
    Select(IDC_CAL_DAY, s.nDay);
    Select(IDC_CAL_HOUR, s.nHour);
    Select(IDC_CAL_MINUTE, s.nMinute);
    Select(IDC_CAL_SECOND, s.nSecond);
}

void CCalendarDlg::InitSlaveAddress() {
    QComboBox* slave = Combo(IDC_SLAVE_ADDRESS);
    if (g_bRs485) {
        Select(IDC_SLAVE_ADDRESS, g_nSlaveAddress);
    } else {
        slave->setCurrentIndex(-1);  // RS-232C sends no address
        slave->setEnabled(false);
    }
    connect(slave, &QComboBox::activated, this,
            [this](int index) { OnSelchangeSlaveAddress(index); });
}

// The display line takes its letter from the model, which the list keeps in step.
void CCalendarDlg::OnSet(CalendarItem item, int listId) {
    int index = 0;
    if (item == CalendarItem::kDisplay) {
        index = g_nDateFormat;
    } else if (listId != kNoId) {
        index = Combo(listId)->currentIndex();
    }
    SendCalendarItem(item, index);  // an empty list sends nothing
}

// Saved with the file, but not a change that marks it modified.
void CCalendarDlg::OnSelchangeDisplay(int index) {
    g_nDateFormat = index;
}

void CCalendarDlg::OnSelchangeSlaveAddress(int index) {
    g_nSlaveAddress = index;
    OfferFoundModel(*this);
}
