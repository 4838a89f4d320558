// How a running cycle is paced: one step per period, or each step as soon as
// the switcher has answered the line before. The period is kept here (the
// command-line tool), or by the caller's own periodic timer, whose every tick
// is a step (the program's dialogs). A line of the run left without its reply
// for the reply time ends the run, except under the caller's timer: there the
// program's connection monitor says "No Connect", and the next tick ends it.
// Each caller brings its own waiting: it calls Poll once MsUntilDue has
// passed, and after each reply.
#pragma once

#include <chrono>
#include <deque>

#include "batch/send_cycle.h"
#include "link/owed_replies.h"

enum class CyclePace {
    kTimer,    // one step per period, timed here
    kTicks,    // one step per Poll: the caller's periodic timer keeps the period
    kReplies,  // each step once the line before is answered
};

enum class PaceOutcome {
    kWaiting,  // nothing is due yet
    kIgnored,  // as the cycle's TickOutcome
    kStepped,
    kFinished,
    kStopped,
    kNoReply,  // a line got no reply in time (NoReplyStep()); the cycle has ended
};

class CCyclePacer {
public:
    using Clock = std::chrono::steady_clock;

    CCyclePacer(CSendCycle& cycle, CyclePace pace, int nPeriodMs, int nNoReplyMs = kReplyTimeMs);

    // Starts the cycle unless another runs; the first step is due at once, or
    // under replies once a reply still awaited from before has come.
    bool Start(Clock::time_point now);
    // Milliseconds until Poll has something to do: 0 now (always under kTicks),
    // -1 once the cycle has ended.
    int MsUntilDue(Clock::time_point now) const;
    // Performs the cycle's next tick when it is due. A call made while a step
    // is under way (a warning box's event loop) does nothing.
    PaceOutcome Poll(Clock::time_point now);

    // The step whose line got no reply, once Poll has said kNoReply.
    int NoReplyStep() const { return m_nNoReplyStep; }
    CyclePace Pace() const { return m_pace; }

private:
    struct CSentLine {
        unsigned long nId;
        int nStep;
        Clock::time_point deadline;
    };

    bool Answered() const;
    bool GaveUpBeforeFirst() const;
    bool TimerLineUnanswered(Clock::time_point now);
    PaceOutcome NoReply(int nStep);
    void AfterTick(unsigned long lastBefore, Clock::time_point now);

    CSendCycle& m_cycle;
    CyclePace m_pace;
    Clock::duration m_period;
    Clock::duration m_noReply;
    Clock::time_point m_next{};      // timer: when the next tick is due
    bool m_bAwaiting = false;        // replies: a line went out and is not answered yet
    bool m_bBeforeFirst = false;     // ... and it went out before the run
    unsigned long m_nAwaitedId = 0;  // the line awaited, as the link owes it
    Clock::time_point m_deadline{};
    std::deque<CSentLine> m_sent;  // timer: the run's lines not yet known answered
    int m_nNoReplyStep = 0;
    bool m_bPolling = false;
};
