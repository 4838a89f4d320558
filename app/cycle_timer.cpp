#include "app/cycle_timer.h"

#include <QPushButton>

#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

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
    m_nIdAtStart = Link().Owed().LastId();
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
    if (m_bDraining) {
        Drain();
    } else if (m_pPacer) {
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
            AwaitLastAnswers();
            break;
        case TickOutcome::kStopped:
            End();
            break;
        case TickOutcome::kIgnored:  // a warning box of the step before is open
            break;
    }
}

void CCycleTimer::AwaitLastAnswers() {
    m_nLastId = Link().Owed().LastId();
    m_nLossesAtLast = Link().State().Losses();
    if (m_nLastId == m_nIdAtStart) {  // every item refused: nothing to wait for
        End();
        if (onFinished) onFinished();
        return;
    }
    m_bDraining = true;
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
    if (fate == ReplyFate::kOwed && !g_bErrorReply) {
        m_timer.start(kLookMs);
        return;
    }
    End();
    if (g_bErrorReply) {  // the answer to one of the last lines was an error reply
        g_bErrorReply = 0;
        return;
    }
    if (Link().State().Losses() != m_nLossesAtLast) {
        ShowReplyError("Port lost: " + Link().State().Port());
        return;
    }
    // A last line left without an answer is no finished run; the monitor says "No Connect".
    if (fate == ReplyFate::kAnswered && onFinished) onFinished();
}

void CCycleTimer::Stop() {
    if (!Running()) return;
    m_pCycle->Stop();
    End();
}

void CCycleTimer::End() {
    m_bDraining = false;
    m_timer.stop();
    m_replies.Cancel();
    m_linkChanges.Cancel();
    m_pClose->setEnabled(true);
}
