// The shape the timed batch runs share (all-items transmission, maintenance
// read-back, compare): a start button, a read-only edit and a progress bar
// showing the step, a stop button, a line saying how the last run ended, CLOSE
// and the start button disabled while the run goes, and a send cycle on a
// timer. A run that must not be cut short refuses every way of closing the
// dialog but its stop button; otherwise closing ends the run, so g_nSendStep
// is 0 once the dialog is gone. While the dialog is open the boxes raised
// during its run sit over it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "batch/send_cycle.h"
#include "dialog_kit/cycle_timer.h"
#include "dialog_kit/run_outcome_text.h"
#include "res/dialog_template.h"

class QLineEdit;
class QProgressBar;
class QPushButton;

class CBatchRunDlg : public QDialog {
public:
    ~CBatchRunDlg() override;

    // One tick of the run's timer.
    void OnCycleTimer();
    bool CycleRunning() const { return m_pCycle->Running(); }
    QPushButton* Button(int id) const;
    QString Status() const;
    QLineEdit* StepEdit() const { return m_pEdit; }
    QProgressBar* Progress() const { return m_pProgress; }
    QTimer& CycleTimer() { return m_pCycle->Timer(); }

protected:
    enum class Closing { kEndsTheRun, kRefusedWhileRunning };
    CBatchRunDlg(const CDialogTemplate& t, int nStartId, int nEditId, int nProgressId,
                 Closing closing, QWidget* parent);

    // The step list, built when the run starts (the model decides its length).
    virtual CStepList Steps() const = 0;
    // What the edit shows after step k of nSteps.
    virtual QString StepText(int k, int nSteps) const = 0;
    // The run has ended; the edit and the bar keep the last step. By default
    // the status line says how it ended.
    virtual void OnRunEnded(const CRunOutcome& outcome, const CStepList& steps);
    // Whether the run sends or reads, for the status line.
    virtual RunVerb Verb() const { return RunVerb::kSend; }
    // What the dialog's status line says.
    void SetStatus(const QString& text);

    void done(int result) override;

private:
    void ShowStep(int k, int nSteps);

    QLineEdit* m_pEdit = nullptr;
    QProgressBar* m_pProgress = nullptr;
    std::unique_ptr<CCycleTimer> m_pCycle;
    Closing m_closing;
    QPointer<QWidget> m_pPreviousMsgOwner;
};
