// The all-items transmission: every table of the settings model sent in one
// timed run, the edit counting the steps.
#pragma once

#include "dialog_kit/batch_run_dlg.h"

class CAllItemsDlg : public CBatchRunDlg {
public:
    explicit CAllItemsDlg(QWidget* parent = nullptr);

protected:
    CStepList Steps() const override;
    QString StepText(int k, int nSteps) const override;
};
