#include "dialogs/settings_read_dlg.h"

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "dialog_kit/corner_clicks.h"
#include "link/link_context.h"
#include "res/batch_dialogs.h"
#include "sink/message_sink.h"

namespace {

const char kUnread[] = "読み込めなかった項目があるため、設定は変わりません: ";
const char kEchoed[] = "（送信した行がそのまま返ってきています。ポートのエコーを確認してください）";
const char kUnchanged[] = "（設定は変わりません）";

}  // namespace

CSettingsReadDlg::CSettingsReadDlg(QWidget* parent)
    : CBatchRunDlg(SettingsReadTemplate(), IDC_READ_START, IDC_READ_PERCENT, IDC_READ_PROGRESS,
                   Closing::kEndsTheRun, parent) {
    g_nCornerClicks = 0;
}

CStepList CSettingsReadDlg::Steps() const {
    m_nEchoesBefore = Link().Echoes();
    return ReadBackSteps();
}

// Settings read in part would pass for the switcher's: only a read that
// went to its end and brought every table back goes into the model.
void CSettingsReadDlg::OnRunEnded(const CRunOutcome& outcome, const CStepList& steps) {
    if (!outcome.Done()) {
        SetStatus(RunOutcomeText(outcome, steps, RunVerb::kRead) + kUnchanged);
        return;
    }
    const auto unread = UnreadRequests();
    if (unread.empty()) {
        ApplyReadCopy();
        SetStatus(RunOutcomeText(outcome, steps, RunVerb::kRead));
        return;
    }
    std::string text = kUnread + ReadRequestList(unread);
    if (Link().Echoes() != m_nEchoesBefore) text += kEchoed;
    SetStatus(QString::fromStdString(text));
    ShowWarning(text);
}

QString CSettingsReadDlg::StepText(int k, int nSteps) const {
    return QString::number(ReadBackPercent(k, nSteps));
}
