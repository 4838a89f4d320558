// The maintenance read-back: every read command in a timed run; the reply
// interpreter decodes each answer into a copy of the settings, which goes into
// the settings model once every read has been answered.
#pragma once

#include "dialog_kit/batch_run_dlg.h"

class CSettingsReadDlg : public CBatchRunDlg {
public:
    explicit CSettingsReadDlg(QWidget* parent = nullptr);

protected:
    CStepList Steps() const override;
    QString StepText(int k, int nSteps) const override;
    void OnRunEnded(const CRunOutcome& outcome, const CStepList& steps) override;
    RunVerb Verb() const override { return RunVerb::kRead; }

private:
    mutable unsigned long m_nEchoesBefore = 0;
};
