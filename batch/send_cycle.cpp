#include "batch/send_cycle.h"

#include "link/link_context.h"
#include "link/reply_fault.h"
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
    m_nNoConnectsAtFirst = Link().NoConnects();
    m_nIdAtStart = Link().Owed().LastId();
    m_nLastStep = 0;
    m_outcome = {};
    m_outcome.nSteps = m_steps.nSteps;
    return true;
}

void CSendCycle::Stop(RunEnd why) {
    if (m_bRunning) End(why);
}

void CSendCycle::End(RunEnd why) {
    g_nSendStep = 0;
    m_bRunning = false;
    EndAfterSteps(why);
}

void CSendCycle::EndAfterSteps(RunEnd why) {
    if (m_bRunning) return;
    m_outcome.end = why;
    m_outcome.nLastStep = m_nLastStep;
    if (why != RunEnd::kErrorReply) return;
    // The answer that stopped the run is kept with the line it answered; one
    // to a line from before the run names no step of it.
    const auto& fault = Link().LastFault();
    m_outcome.nFaultStep = m_nLastStep;
    m_outcome.bErrorReply = true;
    m_outcome.strReply.clear();
    if (fault) {
        m_outcome.nFaultStep = fault->owed.nId > m_nIdAtStart ? fault->owed.nStep : 0;
        m_outcome.bErrorReply = fault->kind == AnswerKind::kErrorReply;
        m_outcome.strReply = FaultBoxText(*fault);
    }
}

void CSendCycle::Perform(int k) {
    m_bInStep = true;  // a warning box may run an event loop that ticks again
    CStepResult result = m_steps.perform(k);
    if (!result.Sent()) m_outcome.refused.push_back(k);
    // Shown here, inside the tick: no further tick runs while the box is open.
    if (!result.Sent() && result.pszWarning) {
        if (onRefused) {
            onRefused(k, result.pszWarning);
        } else {
            ShowWarning(result.pszWarning);
        }
    }
    m_bInStep = false;
    m_nLastStep = k;
    m_outcome.nLastStep = k;
    if (onStep) onStep(k);
}

bool CSendCycle::PortLostSinceStart() const {
    return m_bRunning && Link().State().Losses() != m_nLossesAtStart;
}

bool CSendCycle::FaultSinceStart() const {
    const auto& fault = Link().LastFault();
    return fault && fault->owed.nId > m_nIdAtStart;
}

bool CSendCycle::NoConnectSinceStart() const {
    return m_bRunning && m_nLastStep > 0 && Link().NoConnects() != m_nNoConnectsAtFirst;
}

TickOutcome CSendCycle::Tick() {
    if (!m_bRunning || m_bInStep) return TickOutcome::kIgnored;
    if (g_bErrorReply || FaultSinceStart()) {
        g_bErrorReply = 0;
        End(RunEnd::kErrorReply);
        return TickOutcome::kStopped;
    }
    if (PortLostSinceStart()) {
        End(RunEnd::kPortLost);
        m_bPortLost = true;
        ShowReplyError("Port lost: " + Link().State().Port());
        return TickOutcome::kStopped;
    }
    // The monitor has shown its box; the lines still to come would only earn another.
    if (NoConnectSinceStart()) {
        End(RunEnd::kNoConnect);
        return TickOutcome::kStopped;
    }
    const int k = g_nSendStep;
    if (k > m_steps.nSteps) {  // the tick after the last step
        End(RunEnd::kDone);
        return TickOutcome::kFinished;
    }
    // A report about a line from before the run does not stop it.
    if (k == 1) m_nNoConnectsAtFirst = Link().NoConnects();
    Perform(k);
    if (!m_bRunning) return TickOutcome::kStopped;  // its dialog closed during a warning
    g_nSendStep = k + 1;
    if (k == m_steps.nSteps && !m_steps.bEndsOnTickAfterLast) {
        End(RunEnd::kDone);
        return TickOutcome::kFinished;
    }
    return TickOutcome::kStepped;
}
