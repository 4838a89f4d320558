#include "app/batch_run_dlg.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/dialog_builder.h"
#include "model/settings_model.h"
#include "res/command_ids.h"

namespace {

const char kCleared[] = "   ";  // what the edit shows once a run has finished

}  // namespace

CBatchRunDlg::CBatchRunDlg(const CDialogTemplate& t, int nStartId, int nEditId, int nProgressId,
                           QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, t);
    m_pEdit = FindControl<QLineEdit>(*this, nEditId);
    m_pProgress = FindControl<QProgressBar>(*this, nProgressId);
    connect(Button(nStartId), &QPushButton::clicked, this, &CBatchRunDlg::OnStart);
    connect(&m_cycleTimer, &QTimer::timeout, this, &CBatchRunDlg::OnCycleTimer);
}

CBatchRunDlg::~CBatchRunDlg() {
    if (m_pCycle) m_pCycle->Stop();
}

QPushButton* CBatchRunDlg::Button(int id) const {
    return FindControl<QPushButton>(*this, id);
}

// Refused silently while any cycle holds g_nSendStep, this one included.
void CBatchRunDlg::OnStart() {
    if (g_nSendStep != 0) return;
    CStepList steps = Steps();
    const int period = steps.nPeriodMs;
    m_pCycle = std::make_unique<CSendCycle>(std::move(steps));
    if (!m_pCycle->Start()) return;
    Button(IDCANCEL)->setEnabled(false);
    m_cycleTimer.start(period);
}

void CBatchRunDlg::OnCycleTimer() {
    if (!m_pCycle) return;
    switch (m_pCycle->Tick()) {
        case TickOutcome::kStepped:
            ShowStep(m_pCycle->LastStep());
            break;
        case TickOutcome::kFinished:
            m_pEdit->setText(kCleared);
            m_pProgress->setValue(0);
            EndCycle();
            break;
        case TickOutcome::kStopped:  // edit and bar keep the step reached
            EndCycle();
            break;
        case TickOutcome::kIgnored:
            break;
    }
}

void CBatchRunDlg::ShowStep(int k) {
    const int nSteps = m_pCycle->Steps().nSteps;
    m_pEdit->setText(StepText(k, nSteps));
    m_pProgress->setRange(0, nSteps);
    m_pProgress->setValue(k);
}

void CBatchRunDlg::EndCycle() {
    m_cycleTimer.stop();
    Button(IDCANCEL)->setEnabled(true);
}

void CBatchRunDlg::done(int result) {
    if (CycleRunning()) {
        m_pCycle->Stop();
        EndCycle();
    }
    QDialog::done(result);
}
