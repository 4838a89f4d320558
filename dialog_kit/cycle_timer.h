// A send cycle run by a dialog's timer: one step per period, or, when the
// link's cycles are paced by replies, each step once the switcher has answered
// the line before; CLOSE disabled while it runs, a stop button enabled while
// its steps go, and the dialog told of each step and of how the run ended.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "batch/cycle_pace.h"
#include "batch/send_cycle.h"
#include "link/line_watchers.h"

class QPushButton;

class CCycleTimer {
public:
    // The stop button (none: no button) asks for RequestStop.
    explicit CCycleTimer(QPushButton* closeButton, QPushButton* stopButton = nullptr);
    ~CCycleTimer();  // a cycle still running ends with it

    // Starts the steps unless some cycle already runs (g_nSendStep != 0),
    // paced as Link().ReplyPaced() says at this moment.
    void Start(CStepList steps);
    // One tick of the timer; under reply pacing, a look whether the next step is due.
    void OnTick();
    // Its user stops the run: no further line goes out, and the run ends once
    // the line in flight is answered (for the reply time at most).
    void RequestStop();
    // Ends a running cycle at once (its dialog is closing); no onEnded.
    void Stop();

    // The steps run, or their last answers are awaited.
    bool Running() const { return m_bDraining || (m_pCycle && m_pCycle->Running()); }
    // The steps run (the stop button has something to stop).
    bool Stepping() const { return !m_bDraining && m_pCycle && m_pCycle->Running(); }
    bool ReplyPaced() const { return m_pPacer && m_pPacer->Pace() == CyclePace::kReplies; }
    QTimer& Timer() { return m_timer; }
    // How the last run ended; nullptr before the first.
    const CRunOutcome* Outcome() const { return m_pCycle ? &m_pCycle->Outcome() : nullptr; }

    std::function<void(int k, int nSteps)> onStep;  // step k was performed
    // The run began (true) or has ended (false): the dialog's own controls
    // that do nothing meanwhile follow it.
    std::function<void(bool running)> onRunning;
    // The run has ended, and how: the last step done and every line of the run
    // answered (for the reply time at most: an error reply to one of the last
    // lines, which a timer's run sends ahead of their replies, still stops
    // it); an error reply; a reply missing for the monitor's time (the monitor
    // shows "No Connect"); the port lost; its user. After an early end the
    // dialog keeps showing the last step.
    std::function<void(const CRunOutcome& outcome, const CStepList& steps)> onEnded;

private:
    void Handle(TickOutcome outcome);
    void PollPacer();
    void Drain();
    void AwaitLastAnswers(RunEnd end);
    RunEnd EndOfLastAnswers(ReplyFate fate);
    void End();
    void Ended();
    void ShowRunning(bool running);

    QPushButton* m_pClose;
    QPushButton* m_pStop;
    QTimer m_timer;
    std::unique_ptr<CSendCycle> m_pCycle;
    std::unique_ptr<CCyclePacer> m_pPacer;  // paces every run, the timer's ticks or the replies
    CSubscription m_replies;
    CSubscription m_linkChanges;          // a lost port ends a reply-paced run at once
    unsigned long m_nIdAtStart = 0;       // the last line owed before the run
    unsigned long m_nLastId = 0;          // after the last step: its line, as the link owes it
    bool m_bDraining = false;             // the steps are done, their answers are awaited
    bool m_bActive = false;               // started, and onEnded not yet called
    RunEnd m_drainedEnd = RunEnd::kDone;  // how the steps ended, unless the answers say otherwise
    unsigned long m_nLossesAtLast = 0;
    unsigned long m_nNoConnectsAtLast = 0;
};
