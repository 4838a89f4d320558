#include "dialogs/all_items_dlg.h"

#include "batch/cycle_steps.h"
#include "res/batch_dialogs.h"

// The caption stays the template's, and the corner-gesture count is left
// alone: this dialog is not an editor. A run cut short would leave the
// switcher half programmed, so nothing closes the dialog while it goes.
CAllItemsDlg::CAllItemsDlg(QWidget* parent)
    : CBatchRunDlg(AllItemsTemplate(), IDC_ALL_START, IDC_ALL_COUNTER, IDC_ALL_PROGRESS,
                   Closing::kRefusedWhileRunning, parent) {}

CStepList CAllItemsDlg::Steps() const {
    return AllItemsSteps();
}

QString CAllItemsDlg::StepText(int k, int /*nSteps*/) const {
    return QString::number(k);
}
