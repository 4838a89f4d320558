#include "dialog_kit/cycle_timer.h"

#include <QPushButton>

#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

CCycleTimer::CCycleTimer(QPushButton* closeButton, QPushButton* stopButton)
    : m_pClose(closeButton), m_pStop(stopButton) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { OnTick(); });
    if (m_pStop) {
        m_pStop->setEnabled(false);
        QObject::connect(m_pStop, &QPushButton::clicked, [this] { RequestStop(); });
    }
}

CCycleTimer::~CCycleTimer() {
    // The dialog is going: it hears of nothing any more.
    onStep = nullptr;
    onRunning = nullptr;
    onEnded = nullptr;
    Stop();
}

void CCycleTimer::Start(CStepList steps) {
    if (g_nSendStep != 0 || Running()) return;
    const int period = steps.nPeriodMs;
    const bool replies = Link().ReplyPaced();
    m_pCycle = std::make_unique<CSendCycle>(std::move(steps));
    m_nIdAtStart = Link().Owed().LastId();
    m_pPacer = std::make_unique<CCyclePacer>(
        *m_pCycle, replies ? CyclePace::kReplies : CyclePace::kTicks, period);
    if (!m_pPacer->Start(CCyclePacer::Clock::now())) return;
    if (replies) {
        // A line is interpreted right after its watchers see it: look once it has been.
        m_replies = Link().ReceivedLines().Watch([this](std::string_view) { m_timer.start(0); });
        // A lost port answers nothing: look at once rather than after the reply time.
        m_linkChanges = Link().State().Changes().Watch([this](const CLinkChange&) {
            if (Running()) m_timer.start(0);
        });
        m_timer.setSingleShot(true);
        m_timer.start(0);
    } else {
        // The timer keeps the period: each of its ticks is one of the pacer's.
        m_timer.setSingleShot(false);
        m_timer.start(period);
    }
    ShowRunning(true);
}

void CCycleTimer::OnTick() {
    if (!m_pCycle) return;
    if (m_bDraining) {
        Drain();
    } else {
        PollPacer();
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
    if (!ReplyPaced()) return;  // the periodic timer brings the next tick
    const int wait = m_pPacer->MsUntilDue(CCyclePacer::Clock::now());
    if (wait >= 0 && Stepping()) m_timer.start(wait);
}

void CCycleTimer::Handle(TickOutcome outcome) {
    switch (outcome) {
        case TickOutcome::kStepped:
            if (onStep) onStep(m_pCycle->LastStep(), m_pCycle->Steps().nSteps);
            break;
        case TickOutcome::kFinished:
            // A list that ends on its last step's tick performed that step now.
            if (!m_pCycle->Steps().bEndsOnTickAfterLast && onStep) {
                onStep(m_pCycle->LastStep(), m_pCycle->Steps().nSteps);
            }
            AwaitLastAnswers(RunEnd::kDone);
            break;
        case TickOutcome::kStopped:
            // Not when the run was stopped from a warning's event loop: that
            // stop has taken care of its end.
            if (m_bDraining || !m_bActive) break;
            End();
            Ended();
            break;
        case TickOutcome::kIgnored:  // a warning box of the step before is open
            break;
    }
}

void CCycleTimer::RequestStop() {
    if (!Stepping()) return;
    m_pCycle->Stop(RunEnd::kStopped);
    AwaitLastAnswers(RunEnd::kStopped);
}

void CCycleTimer::AwaitLastAnswers(RunEnd end) {
    m_drainedEnd = end;
    m_nLastId = Link().Owed().LastId();
    m_nLossesAtLast = Link().State().Losses();
    m_nNoConnectsAtLast = Link().NoConnects();
    if (m_nLastId == m_nIdAtStart) {  // nothing went out: nothing to wait for
        End();
        Ended();
        return;
    }
    m_bDraining = true;
    if (m_pStop) m_pStop->setEnabled(false);  // nothing left to stop
    m_timer.setSingleShot(true);
    m_replies = Link().ReceivedLines().Watch([this](std::string_view) { m_timer.start(0); });
    Drain();
}

// Looks whether the run's lines have had their answers; the owed replies let
// a line go once the reply time has passed, so this ends within it.
void CCycleTimer::Drain() {
    constexpr int kLookMs = 50;
    DispatchReplies();         // answers already in take their place first
    if (!m_bDraining) return;  // a box of theirs let the dialog close meanwhile
    const ReplyFate fate = Link().Owed().Fate(m_nLastId);
    const bool lost = Link().State().Losses() != m_nLossesAtLast;
    const bool noConnect = Link().NoConnects() != m_nNoConnectsAtLast;
    const bool fault = g_bErrorReply || m_pCycle->FaultSinceStart();
    if (fate == ReplyFate::kOwed && !fault && !lost && !noConnect) {
        m_timer.start(kLookMs);
        return;
    }
    End();
    m_pCycle->EndAfterSteps(EndOfLastAnswers(fate));
    Ended();
}

// An error reply to one of the last lines, the port lost, or a last line left
// without an answer (the monitor says "No Connect") ends the run so; otherwise
// it ends as its steps did.
RunEnd CCycleTimer::EndOfLastAnswers(ReplyFate fate) {
    if (g_bErrorReply || m_pCycle->FaultSinceStart()) {
        g_bErrorReply = 0;
        return RunEnd::kErrorReply;
    }
    if (Link().State().Losses() != m_nLossesAtLast) {
        ShowReplyError("Port lost: " + Link().State().Port());
        return RunEnd::kPortLost;
    }
    if (Link().NoConnects() != m_nNoConnectsAtLast || fate != ReplyFate::kAnswered) {
        return RunEnd::kNoConnect;
    }
    return m_drainedEnd;
}

void CCycleTimer::Stop() {
    if (!Running()) return;
    m_pCycle->Stop();
    m_bActive = false;
    End();
}

void CCycleTimer::End() {
    m_bDraining = false;
    m_timer.stop();
    m_replies.Cancel();
    m_linkChanges.Cancel();
    ShowRunning(false);
}

void CCycleTimer::Ended() {
    if (!m_bActive) return;
    m_bActive = false;
    if (onEnded) onEnded(m_pCycle->Outcome(), m_pCycle->Steps());
}

void CCycleTimer::ShowRunning(bool running) {
    if (running) m_bActive = true;
    m_pClose->setEnabled(!running);
    if (m_pStop) m_pStop->setEnabled(running);
    if (onRunning) onRunning(running);
}
