#include "batch/cycle_pace.h"

#include <algorithm>

#include "link/link_context.h"
#include "link/link_flags.h"
#include "model/settings_model.h"
#include "protocol/time_left.h"

namespace {

PaceOutcome FromTick(TickOutcome outcome) {
    switch (outcome) {
        case TickOutcome::kStepped:
            return PaceOutcome::kStepped;
        case TickOutcome::kFinished:
            return PaceOutcome::kFinished;
        case TickOutcome::kStopped:
            return PaceOutcome::kStopped;
        case TickOutcome::kIgnored:
            break;
    }
    return PaceOutcome::kIgnored;
}

}  // namespace

CCyclePacer::CCyclePacer(CSendCycle& cycle, CyclePace pace, int nPeriodMs, int nNoReplyMs)
    : m_cycle(cycle),
      m_pace(pace),
      m_period(std::chrono::milliseconds(std::max(nPeriodMs, 0))),
      m_noReply(std::chrono::milliseconds(std::max(nNoReplyMs, 0))) {}

bool CCyclePacer::Start(Clock::time_point now) {
    m_next = now;
    m_bAwaiting = false;
    m_bBeforeFirst = false;
    m_sent.clear();
    m_nNoReplyStep = 0;
    if (!m_cycle.Start()) return false;
    // A reply still owed to a line sent before the run (the last line of the run
    // before) would be taken for the answer to the first line, and every line
    // after would go out one answer early: wait for it first, as long as the
    // monitor waits.
    if (m_pace == CyclePace::kReplies && g_bAwaitingReply) {
        m_bAwaiting = m_bBeforeFirst = true;
        m_nAwaitedId = Link().Owed().LastId();
        m_deadline = now + m_noReply;
    }
    return true;
}

// The line awaited has had its answer; under the reply interpreter an answer
// that stops the run (an error reply, a line that is none) leaves it due at once.
bool CCyclePacer::Answered() const {
    if (g_bErrorReply || m_cycle.FaultSinceStart()) return true;
    const ReplyFate fate = Link().Owed().Fate(m_nAwaitedId);
    return m_bBeforeFirst ? fate != ReplyFate::kOwed : fate == ReplyFate::kAnswered;
}

// The reply owed from before the run is no longer awaited: the monitor gave up on it.
bool CCyclePacer::GaveUpBeforeFirst() const {
    return m_bBeforeFirst && !g_bAwaitingReply;
}

// Under the timer the lines run ahead of their replies: the oldest line of the
// run not yet answered is the one whose reply is missing once its time is up.
// A line settled unanswered before its time (a later read's data line came
// instead) is for the read-back to name, not a silent switcher.
bool CCyclePacer::TimerLineUnanswered(Clock::time_point now) {
    while (!m_sent.empty()) {
        const ReplyFate fate = Link().Owed().Fate(m_sent.front().nId);
        if (fate != ReplyFate::kAnswered && now >= m_sent.front().deadline) return true;
        if (fate == ReplyFate::kOwed) return false;
        m_sent.pop_front();
    }
    return false;
}

PaceOutcome CCyclePacer::NoReply(int nStep) {
    m_nNoReplyStep = nStep;
    m_cycle.Stop(RunEnd::kNoConnect);
    return PaceOutcome::kNoReply;
}

int CCyclePacer::MsUntilDue(Clock::time_point now) const {
    if (!m_cycle.Running()) return -1;
    // A lost port answers nothing, and after "No Connect" nothing is awaited:
    // the next tick stops the run at once.
    if (m_cycle.PortLostSinceStart() || m_cycle.NoConnectSinceStart()) return 0;
    if (m_pace == CyclePace::kTimer) {
        const int untilTick = MsUntil(m_next, now);
        if (m_sent.empty()) return untilTick;
        return std::min(untilTick, MsUntil(m_sent.front().deadline, now));
    }
    if (!m_bAwaiting || Answered() || GaveUpBeforeFirst()) return 0;
    return MsUntil(m_deadline, now);
}

PaceOutcome CCyclePacer::Poll(Clock::time_point now) {
    if (!m_cycle.Running() || m_bPolling) return PaceOutcome::kIgnored;
    if (m_cycle.PortLostSinceStart() || m_cycle.NoConnectSinceStart()) {
        // Straight to the tick, which stops the run.
    } else if (m_pace == CyclePace::kTimer) {
        const bool fault = g_bErrorReply || m_cycle.FaultSinceStart();
        if (!fault && TimerLineUnanswered(now)) return NoReply(m_sent.front().nStep);
        if (now < m_next) return PaceOutcome::kWaiting;
        m_next += m_period;
    } else if (m_bAwaiting) {
        if (!Answered() && !GaveUpBeforeFirst()) {
            if (now < m_deadline) return PaceOutcome::kWaiting;
            if (!m_bBeforeFirst) return NoReply(m_cycle.LastStep());
        }
        m_bAwaiting = m_bBeforeFirst = false;
    }
    const unsigned long lastBefore = Link().Owed().LastId();
    m_bPolling = true;
    const TickOutcome outcome = m_cycle.Tick();
    m_bPolling = false;
    AfterTick(lastBefore, now);
    return FromTick(outcome);
}

// A tick that sent nothing (an item refused, the read-back's closing tick)
// leaves the next one due at once. Under the caller's timer nothing is
// awaited: the connection monitor watches the replies.
void CCyclePacer::AfterTick(unsigned long lastBefore, Clock::time_point now) {
    if (!m_cycle.Running() || Link().Owed().LastId() == lastBefore) return;
    if (m_pace == CyclePace::kTicks) return;
    if (m_pace == CyclePace::kTimer) {
        m_sent.push_back({Link().Owed().LastId(), m_cycle.LastStep(), now + m_noReply});
        return;
    }
    m_bAwaiting = true;
    m_nAwaitedId = Link().Owed().LastId();
    m_deadline = now + m_noReply;
}
