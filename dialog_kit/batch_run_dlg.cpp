#include "dialog_kit/batch_run_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "dialog_kit/dialog_builder.h"
#include "dialog_kit/qt_message_sink.h"
#include "model/settings_model.h"
#include "res/batch_dialogs.h"
#include "res/command_ids.h"

CBatchRunDlg::CBatchRunDlg(const CDialogTemplate& t, int nStartId, int nEditId, int nProgressId,
                           Closing closing, QWidget* parent)
    : QDialog(parent), m_closing(closing), m_pPreviousMsgOwner(g_hMsgOwner) {
    g_hMsgOwner = this;
    BuildDialog(*this, t);
    m_pEdit = FindControl<QLineEdit>(*this, nEditId);
    m_pProgress = FindControl<QProgressBar>(*this, nProgressId);
    m_pCycle = std::make_unique<CCycleTimer>(Button(IDCANCEL), Button(IDC_RUN_STOP));
    m_pCycle->onStep = [this](int k, int nSteps) { ShowStep(k, nSteps); };
    QPushButton* start = Button(nStartId);
    m_pCycle->onRunning = [start](bool running) { start->setEnabled(!running); };
    m_pCycle->onEnded = [this](const CRunOutcome& outcome, const CStepList& steps) {
        OnRunEnded(outcome, steps);
    };
    // Refused silently while another cycle holds g_nSendStep.
    connect(start, &QPushButton::clicked, this, [this] {
        if (m_pCycle->Running() || g_nSendStep != 0) return;
        SetStatus({});
        m_pCycle->Start(Steps());
    });
}

void CBatchRunDlg::OnRunEnded(const CRunOutcome& outcome, const CStepList& steps) {
    SetStatus(RunOutcomeText(outcome, steps, Verb()));
}

CBatchRunDlg::~CBatchRunDlg() {
    if (g_hMsgOwner == this) g_hMsgOwner = m_pPreviousMsgOwner;
}

void CBatchRunDlg::SetStatus(const QString& text) {
    if (auto* status = findChild<QLabel*>(QString::number(IDC_RUN_STATUS))) {
        status->setWordWrap(true);
        status->setText(text);
    }
}

QString CBatchRunDlg::Status() const {
    auto* status = findChild<QLabel*>(QString::number(IDC_RUN_STATUS));
    return status ? status->text() : QString();
}

QPushButton* CBatchRunDlg::Button(int id) const {
    return FindControl<QPushButton>(*this, id);
}

// Edit and bar keep the step reached when the run ends.
void CBatchRunDlg::OnCycleTimer() {
    m_pCycle->OnTick();
}

void CBatchRunDlg::ShowStep(int k, int nSteps) {
    m_pEdit->setText(StepText(k, nSteps));
    m_pProgress->setRange(0, nSteps);
    m_pProgress->setValue(k);
}

// Esc, CLOSE and the close box all come here.
void CBatchRunDlg::done(int result) {
    if (m_closing == Closing::kRefusedWhileRunning && CycleRunning()) return;
    m_pCycle->Stop();
    QDialog::done(result);
    g_hMsgOwner = m_pPreviousMsgOwner;
}
