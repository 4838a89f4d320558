#include "app/cycle_timer.h"

#include <QPushButton>

#include "link/link_context.h"
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
    m_pPacer.reset();
    if (Link().ReplyPaced()) {
        m_pPacer = std::make_unique<CCyclePacer>(*m_pCycle, CyclePace::kReplies, period);
        if (!m_pPacer->Start(CCyclePacer::Clock::now())) return;
        // A line is interpreted right after its watchers see it: look once it has been.
        m_replies = Link().ReceivedLines().Watch([this](std::string_view) { m_timer.start(0); });
        // A lost port answers nothing: look at once rather than after the reply time.
        m_linkChanges = Link().State().Changes().Watch([this](const CLinkChange&) {
            if (Running()) m_timer.start(0);
        });
        m_timer.setSingleShot(true);
        m_timer.start(0);
    } else {
        if (!m_pCycle->Start()) return;
        m_timer.setSingleShot(false);
        m_timer.start(period);
    }
    m_pClose->setEnabled(false);
}

void CCycleTimer::OnTick() {
    if (!m_pCycle) return;
    if (m_pPacer) {
        PollPacer();
    } else {
        Handle(m_pCycle->Tick());
    }
}

void CCycleTimer::PollPacer() {
    switch (m_pPacer->Poll(CCyclePacer::Clock::now())) {
        case PaceOutcome::kStepped:
            Handle(TickOutcome::kStepped);
            break;
        case PaceOutcome::kFinished:
            Handle(TickOutcome::kFinished);
            return;
        case PaceOutcome::kStopped:
        case PaceOutcome::kNoReply:
            Handle(TickOutcome::kStopped);
            return;
        case PaceOutcome::kIgnored:  // a step's warning box is open: its step goes on after it
            return;
        case PaceOutcome::kWaiting:
            break;
    }
    const int wait = m_pPacer->MsUntilDue(CCyclePacer::Clock::now());
    if (wait >= 0 && Running()) m_timer.start(wait);
}

void CCycleTimer::Handle(TickOutcome outcome) {
    switch (outcome) {
        case TickOutcome::kStepped:
            if (onStep) onStep(m_pCycle->LastStep(), m_pCycle->Steps().nSteps);
            break;
        case TickOutcome::kFinished:
            End();
            if (onFinished) onFinished();
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
    m_replies.Cancel();
    m_linkChanges.Cancel();
    m_pClose->setEnabled(true);
}
