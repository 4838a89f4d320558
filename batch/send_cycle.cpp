#include "batch/send_cycle.h"

#include "link/link_context.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

CSendCycle::CSendCycle(CStepList steps) : m_steps(std::move(steps)) {}

CSendCycle::~CSendCycle() {
    Stop();
}

bool CSendCycle::Start() {
    if (g_nSendStep != 0 || m_steps.nSteps <= 0) return false;
    g_nSendStep = 1;
    m_bRunning = true;
    m_bPortLost = false;
    m_nLossesAtStart = Link().State().Losses();
    m_nLastStep = 0;
    return true;
}

void CSendCycle::Stop() {
    if (m_bRunning) End();
}

void CSendCycle::End() {
    g_nSendStep = 0;
    m_bRunning = false;
}

void CSendCycle::Perform(int k) {
    m_bInStep = true;  // a warning box may run an event loop that ticks again
    CStepResult result = m_steps.perform(k);
    if (!result.Sent()) {
        if (onRefused) {
            onRefused(k, result.pszWarning);
        } else {
            ShowWarning(result.pszWarning);
        }
    }
    m_bInStep = false;
    m_nLastStep = k;
    if (onStep) onStep(k);
}

bool CSendCycle::PortLostSinceStart() const {
    return m_bRunning && Link().State().Losses() != m_nLossesAtStart;
}

TickOutcome CSendCycle::Tick() {
    if (!m_bRunning || m_bInStep) return TickOutcome::kIgnored;
    if (g_bErrorReply) {
        g_bErrorReply = 0;
        End();
        return TickOutcome::kStopped;
    }
    if (PortLostSinceStart()) {
        End();
        m_bPortLost = true;
        ShowReplyError("Port lost: " + Link().State().Port());
        return TickOutcome::kStopped;
    }
    const int k = g_nSendStep;
    if (k > m_steps.nSteps) {  // the tick after the last step
        End();
        return TickOutcome::kFinished;
    }
    Perform(k);
    if (!m_bRunning) return TickOutcome::kStopped;  // its dialog closed during a warning
    g_nSendStep = k + 1;
    if (k == m_steps.nSteps && !m_steps.bEndsOnTickAfterLast) {
        End();
        return TickOutcome::kFinished;
    }
    return TickOutcome::kStepped;
}
