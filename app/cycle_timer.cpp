#include "app/cycle_timer.h"

#include <QPushButton>

#include "model/settings_model.h"

CCycleTimer::CCycleTimer(QPushButton* closeButton) : m_pClose(closeButton) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { OnTick(); });
}

CCycleTimer::~CCycleTimer() {
    Stop();
}

void CCycleTimer::Start(CStepList steps) {
    if (g_nSendStep != 0) return;
    const int period = steps.nPeriodMs;
    m_pCycle = std::make_unique<CSendCycle>(std::move(steps));
    if (!m_pCycle->Start()) return;
    m_pClose->setEnabled(false);
    m_timer.start(period);
}

void CCycleTimer::OnTick() {
    if (!m_pCycle) return;
    switch (m_pCycle->Tick()) {
        case TickOutcome::kStepped:
            if (onStep) onStep(m_pCycle->LastStep(), m_pCycle->Steps().nSteps);
            break;
        case TickOutcome::kFinished:
            if (onFinished) onFinished();
            End();
            break;
        case TickOutcome::kStopped:
            End();
            break;
        case TickOutcome::kIgnored:  // a warning box of the step before is open
            break;
    }
}

void CCycleTimer::Stop() {
    if (!Running()) return;
    m_pCycle->Stop();
    End();
}

void CCycleTimer::End() {
    m_timer.stop();
    m_pClose->setEnabled(true);
}
