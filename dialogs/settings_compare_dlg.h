// Compare with the switcher: the read-back's run, into a copy of the tables
// (the settings in memory and the modified flag stay as they are), then the
// entries that differ in a list, or a word that the switcher holds the settings.
#pragma once

#include <vector>

#include "dialog_kit/batch_run_dlg.h"
#include "model/settings_diff.h"

class QTreeWidget;

class CSettingsCompareDlg : public CBatchRunDlg {
public:
    explicit CSettingsCompareDlg(QWidget* parent = nullptr);

protected:
    CStepList Steps() const override;
    QString StepText(int k, int nSteps) const override;
    void OnRunEnded(const CRunOutcome& outcome, const CStepList& steps) override;
    RunVerb Verb() const override { return RunVerb::kRead; }
};

// The entries that differ: table, item, the value in memory, the switcher's.
class CCompareResultDlg : public QDialog {
public:
    CCompareResultDlg(const std::vector<CSettingsDifference>& diffs, QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_pList; }

private:
    QTreeWidget* m_pList = nullptr;
};
