#include "dialogs/display_switch_dlg.h"

#include <QApplication>
#include <QLineEdit>

#include "model/settings_model.h"
#include "protocol/fields.h"
#include "res/display_dialogs.h"
#include "res/editor_dialogs.h"

namespace {

// What tells the members apart on screen, in the order of DisplaySwitch.
struct CDisplaySwitchView {
    const CDialogTemplate& (*pTemplate)();
    const char* caption;
    int nTableId;
    int nValueId;
    int nSameId;
    void (*pSend)();
};

const CDisplaySwitchView kViews[] = {
    {InputTitleTemplate, "入力タイトル File Name ", IDC_DISP_IN_TITLE_TABLE, IDC_DISP_DISPLAY,
     IDC_DISP_SAME_DISPLAY, SendInTitleDisp},
    {OutputTitleTemplate, "出力タイトル File Name ", IDC_DISP_OUT_TITLE_TABLE, IDC_DISP_OUT_DISPLAY,
     IDC_DISP_SAME_DISPLAY, SendOutTitleDisp},
    {TitlePositionTemplate, "タイトル表示位置 File Name ", IDC_DISP_POSITION_TABLE,
     IDC_DISP_POSITION, IDC_DISP_SAME_POSITION, SendTitlePositions},
    {InputCalendarTemplate, "入力カレンダ File Name ", IDC_DISP_IN_CALENDAR_TABLE, IDC_DISP_DISPLAY,
     IDC_DISP_SAME_DISPLAY, SendInCalendarDisp},
    {OutputCalendarTemplate, "出力カレンダ File Name ", IDC_DISP_OUT_CALENDAR_TABLE,
     IDC_DISP_DISPLAY, IDC_DISP_SAME_DISPLAY, SendOutCalendarDisp},
};

const CDisplaySwitchView& View(DisplaySwitch which) {
    return kViews[static_cast<int>(which)];
}

}  // namespace

std::string DisplayCellText(const CDisplaySwitchSpec& member, int i) {
    return member.cellPrefix + TwoDigits(i + 1) + "=" +
           member.valueText[member.pTable[i] == 0 ? 0 : 1];
}

CDisplaySwitchDlg::CDisplaySwitchDlg(DisplaySwitch which, QWidget* parent)
    : CTableEditorDlg(View(which).pTemplate(), View(which).caption, View(which).nTableId, kNoId,
                      parent),
      m_which(which),
      m_member(DisplaySwitchSpec(which)) {
    Select(IDC_DISP_CHANNEL, Selection());
    if (m_member.bInputSide) TrimInputsToModel(IDC_DISP_CHANNEL, 32);
    KeepTypingOutOfTheChannel();
    ShowCurrentEntry();
    Select(View(which).nSameId, *m_member.pSameValue);
    ShowSlaveAddressWhileDisabled();

    OnGuardedSelection(IDC_DISP_CHANNEL, [this](int i) { OnSelchangeChannel(i); });
    OnGuardedSelection(View(which).nValueId, [this](int i) { OnSelchangeDisplay(i); });
    OnGuardedSelection(View(which).nSameId, [this](int i) { OnSelchangeSameDisplay(i); });
    OnGuardedClick(IDC_SET, [this] { OnSet(); });
}

QComboBox* CDisplaySwitchDlg::ValueCombo() const {
    return Combo(View(m_which).nValueId);
}

QComboBox* CDisplaySwitchDlg::SameCombo() const {
    return Combo(View(m_which).nSameId);
}

int CDisplaySwitchDlg::GridEntryCount() const {
    return DisplaySwitchCount(m_which);
}

std::string CDisplaySwitchDlg::GridCellText(int i) const {
    return DisplayCellText(m_member, i);
}

// 4 columns of 8 for 32 entries, 8 narrower ones for 64.
int CDisplaySwitchDlg::GridColumnWidth() const {
    return m_member.bInputSide ? 160 - 80 * g_nModel : 160;
}

// The cells are the channels (or outputs); there are no pages.
CGridLists CDisplaySwitchDlg::GridLists() const {
    return {.nEntryList = IDC_DISP_CHANNEL, .nEntry = Selection()};
}

// The selection is shared with the other editors of the same side.
int& CDisplaySwitchDlg::Selection() const {
    return m_member.bInputSide ? g_nCurChannel : g_nCurOutput;
}

// Typing alone does not change the channel: a pick from the list (mouse or
// arrow keys) does, and Enter in the field (GoToTypedChannel). Left alone, the
// edit field would add typed items on Return and activate a typed match when
// editing finishes.
void CDisplaySwitchDlg::KeepTypingOutOfTheChannel() {
    QComboBox* channel = Combo(IDC_DISP_CHANNEL);
    if (!channel->isEditable()) return;
    channel->setInsertPolicy(QComboBox::NoInsert);
    channel->setCompleter(nullptr);
    QObject::disconnect(channel->lineEdit(), &QLineEdit::editingFinished, channel, nullptr);
    channel->lineEdit()->installEventFilter(this);
}

// The typed number ("5" or "05") is a pick of that channel in the list; a
// number the list lacks, or a pick a run refuses, shows the channel selected.
void CDisplaySwitchDlg::GoToTypedChannel() {
    QComboBox* channel = Combo(IDC_DISP_CHANNEL);
    bool bNumber = false;
    const int number = channel->lineEdit()->text().trimmed().toInt(&bNumber);
    if (bNumber && PickInList(IDC_DISP_CHANNEL, number - 1)) return;
    QApplication::beep();
    Select(IDC_DISP_CHANNEL, Selection());
}

bool CDisplaySwitchDlg::eventFilter(QObject* watched, QEvent* event) {
    const QComboBox* channel = Combo(IDC_DISP_CHANNEL);
    if (watched == channel->lineEdit() && IsEnterPress(*event)) {
        GoToTypedChannel();
        return true;
    }
    return CTableEditorDlg::eventFilter(watched, event);
}

// The table's entry for the selection, or nullptr for a selection outside it.
int* CDisplaySwitchDlg::CurrentEntry() const {
    const int entry = Selection();
    const int entries = m_member.bInputSide ? kMaxInputs : kOutputs;
    return entry >= 0 && entry < entries ? &m_member.pTable[entry] : nullptr;
}

void CDisplaySwitchDlg::ShowCurrentEntry() {
    const int* entry = CurrentEntry();
    Select(View(m_which).nValueId, entry ? *entry : -1);
}

void CDisplaySwitchDlg::OnSelchangeChannel(int index) {
    Selection() = index;
    ShowCurrentEntry();  // the grid shows nothing new
}

void CDisplaySwitchDlg::OnSelchangeDisplay(int index) {
    if (int* entry = CurrentEntry()) *entry = index;
    RepaintGrid();
}

// Entries beyond the model's channels keep their values.
void CDisplaySwitchDlg::OnSelchangeSameDisplay(int index) {
    *m_member.pSameValue = index;
    for (int i = 0; i < DisplaySwitchCount(m_which); ++i) m_member.pTable[i] = index;
    RepaintGrid();
    ShowCurrentEntry();
}

// Sends the whole table as it stands, changed or not.
void CDisplaySwitchDlg::OnSet() {
    View(m_which).pSend();
}
