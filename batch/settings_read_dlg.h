// The maintenance read-back: every read command in a timed run; the reply
// interpreter decodes each answer into the settings model as it arrives.
#pragma once

#include "app/batch_run_dlg.h"

class CSettingsReadDlg : public CBatchRunDlg {
public:
    explicit CSettingsReadDlg(QWidget* parent = nullptr);

protected:
    CStepList Steps() const override;
    QString StepText(int k, int nSteps) const override;
};
