#include "dialogs/title_dlg.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>
#include <algorithm>

#include "batch/cycle_steps.h"
#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/qt_message_sink.h"
#include "dialog_kit/shift_jis_text.h"
#include "editors/title_send.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/shift_jis.h"
#include "res/editor_dialogs.h"
#include "res/title_dialog.h"
#include "sink/message_sink.h"

int g_bImeWasOpen = 0;

namespace {

constexpr std::size_t kTitleBytes = 2 * kTitleChars;
constexpr int kTitlesPerPage = 16;
constexpr char32_t kUnreadableByte = 0xFFFD;  // shown for a bad byte from a file

// Refuses (with a beep) a character without a Shift_JIS form and a title
// longer than 32 Shift_JIS bytes.
class CTitleValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (Fits(input)) return Acceptable;
        QApplication::beep();
        return Invalid;
    }

private:
    static bool Fits(const QString& input) {
        for (uint ch : input.toUcs4()) {
            if (ch != kUnreadableByte && !HasShiftJisForm(ch)) return false;
        }
        return ToShiftJis(input).size() <= kTitleBytes;
    }
};

int CurrentChannel() {
    return std::clamp(g_nCurChannel, 0, kMaxInputs - 1);
}

// Cuts bytes to at most n without splitting a double-byte character.
void CutTo(std::string& bytes, std::size_t n) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < bytes.size() && i < n;) {
        i += IsShiftJisLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i <= n) end = i;
    }
    bytes.resize(end);
}

}  // namespace

CTitleDlg::CTitleDlg(QWidget* parent, CInputMethod* pInputMethod)
    : CTableEditorDlg(TitleTemplate(), "タイトル設定 File Name ", IDC_TITLE_TABLE,
                      IDC_TITLE_COUNTER, parent),
      m_inputMethod(pInputMethod ? *pInputMethod : SystemInputMethod()),
      m_pEdit(FindControl<QLineEdit>(*this, IDC_TITLE_EDIT)) {
    m_pEdit->setValidator(new CTitleValidator(m_pEdit));
    Select(IDC_TITLE_CHANNEL, g_nCurChannel);
    TrimInputsToModel(IDC_TITLE_CHANNEL, 32);
    ShowSlaveAddressWhileDisabled();
    connect(m_pEdit, &QLineEdit::textChanged, this, [this] { OnChangeTitle(); });
    ShowTitle();
    g_hMsgOwner = this;
    // The input method acts on the focused field: switch it once the edit has the focus.
    m_pEdit->installEventFilter(this);
    m_pEdit->setFocus();

    // Choosing a channel stays live while the titles are being sent.
    OnSelection(IDC_TITLE_CHANNEL, [this](int i) { OnSelchangeChannel(i); });
    OnGuardedClick(IDC_SET, [this] { OnSet(); });
    OnGuardedClick(IDC_ALL_SET, [this] { StartCycle(TitleSteps()); });
}

int CTitleDlg::GridEntryCount() const {
    return kTitlesPerPage;
}

std::string CTitleDlg::GridCellText(int i) const {
    const int c = CurrentChannel() / kTitlesPerPage * kTitlesPerPage + i;
    return "in" + TwoDigits(c + 1) + "=" + FromShiftJis(g_strTitle[c]).toStdString();
}

// The cells are the page of 16 channels around the selected one; the keys run
// on across pages, and Page Up / Page Down turn a whole page.
CGridLists CTitleDlg::GridLists() const {
    const int channel = CurrentChannel();
    return {.nEntryList = IDC_TITLE_CHANNEL,
            .nEntry = channel,
            .nFirstEntry = channel / kTitlesPerPage * kTitlesPerPage,
            .nPageList = IDC_TITLE_CHANNEL,
            .nPage = channel,
            .nPageStep = kTitlesPerPage};
}

// Shows the current channel's title; putting it there stores it again.
void CTitleDlg::ShowTitle() {
    {
        const QSignalBlocker blocker(m_pEdit);
        m_pEdit->setText(FromShiftJis(g_strTitle[CurrentChannel()]));
    }
    OnChangeTitle();
}

void CTitleDlg::StoreTitle() {
    std::string& title = g_strTitle[CurrentChannel()];
    const QString text = m_pEdit->text();
    if (text == FromShiftJis(title)) return;  // showing a title never rewrites its bytes
    std::string bytes = ToShiftJis(text);
    CutTo(bytes, kTitleBytes);
    title = std::move(bytes);
}

void CTitleDlg::OnChangeTitle() {
    if (g_nSendStep != 0) return;
    StoreTitle();
    RepaintGrid();
    // A lone half-width blank is how an untitled channel comes back from a file.
    if (g_strTitle[CurrentChannel()] != " ") g_bModified = 1;
}

void CTitleDlg::OnSelchangeChannel(int index) {
    g_nCurChannel = index;
    ShowTitle();
    RepaintGrid();
}

void CTitleDlg::OnSet() {
    g_hMsgOwner = this;
    const int channel = Combo(IDC_TITLE_CHANNEL)->currentIndex();
    if (channel < 0) return;  // the shown channel lies beyond the 32-input model
    g_nCurChannel = channel;
    const int slave = Combo(IDC_SLAVE_ADDRESS)->currentIndex();
    if (slave >= 0) g_nSlaveAddress = slave;  // on RS-232C the list holds the opening address
    StoreTitle();
    const CStepResult result = TitleStep(g_nCurChannel);
    if (!result.Sent()) ShowWarning(result.pszWarning);
}

void CTitleDlg::OpenInputMethod() {
    if (m_bInputMethodOpened) return;
    m_bInputMethodOpened = true;
    g_bImeWasOpen = m_inputMethod.IsOpen() ? 1 : 0;
    m_inputMethod.SetOpen(true);
}

bool CTitleDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pEdit && event->type() == QEvent::FocusIn) OpenInputMethod();
    // Enter moves on to the next channel's title (the last stays), as one
    // types the titles one after another.
    if (watched == m_pEdit && IsEnterPress(*event)) {
        PickInList(IDC_TITLE_CHANNEL, CurrentChannel() + 1);
        return true;
    }
    return CTableEditorDlg::eventFilter(watched, event);
}

void CTitleDlg::reject() {
    if (StopRunInsteadOfClosing()) return;
    g_hMsgOwner = this;
    if (m_bInputMethodOpened) m_inputMethod.SetOpen(g_bImeWasOpen != 0);
    CTableEditorDlg::reject();
}

void CTitleDlg::done(int result) {
    if (StopRunInsteadOfClosing()) return;
    CTableEditorDlg::done(result);
    g_hMsgOwner = parentWidget();
}

// A title typed while the titles are sent would not be stored: the field
// takes none meanwhile.
void CTitleDlg::OnCycleRunning(bool running) {
    m_pEdit->setReadOnly(running);
}
