#include "batch/settings_read_dlg.h"

#include "app/corner_clicks.h"
#include "batch/cycle_steps.h"
#include "res/batch_dialogs.h"

CSettingsReadDlg::CSettingsReadDlg(QWidget* parent)
    : CBatchRunDlg(SettingsReadTemplate(), IDC_READ_START, IDC_READ_PERCENT, IDC_READ_PROGRESS,
                   Closing::kEndsTheRun, parent) {
    g_nCornerClicks = 0;
}

CStepList CSettingsReadDlg::Steps() const {
    return ReadBackSteps();
}

QString CSettingsReadDlg::StepText(int k, int nSteps) const {
    return QString::number(ReadBackPercent(k, nSteps));
}
