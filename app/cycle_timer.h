// A send cycle run by a dialog's timer: one step per period, or, when the
// link's cycles are paced by replies, each step once the switcher has answered
// the line before; CLOSE disabled while it runs, and the dialog told of each
// step and of how the cycle ended.
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
    explicit CCycleTimer(QPushButton* closeButton);
    ~CCycleTimer();  // a cycle still running ends with it

    // Starts the steps unless some cycle already runs (g_nSendStep != 0),
    // paced as Link().ReplyPaced() says at this moment.
    void Start(CStepList steps);
    // One tick of the timer; under reply pacing, a look whether the next step is due.
    void OnTick();
    // Ends a running cycle at once (its dialog is closing).
    void Stop();

    // The steps run, or their last answers are awaited.
    bool Running() const { return m_bDraining || (m_pCycle && m_pCycle->Running()); }
    bool ReplyPaced() const { return m_pPacer != nullptr; }
    QTimer& Timer() { return m_timer; }

    std::function<void(int k, int nSteps)> onStep;  // step k was performed
    // The last step was done and every line of the run answered (for the
    // reply time at most): an error reply to one of the last lines, which a
    // timer's run sends ahead of their replies, still stops it.
    std::function<void()> onFinished;
    // An error reply, or a reply missing for the monitor's time (the monitor
    // shows "No Connect"), stops the cycle: the dialog keeps showing the last step.

private:
    void Handle(TickOutcome outcome);
    void PollPacer();
    void Drain();
    void AwaitLastAnswers();
    void End();

    QPushButton* m_pClose;
    QTimer m_timer;
    std::unique_ptr<CSendCycle> m_pCycle;
    std::unique_ptr<CCyclePacer> m_pPacer;  // under reply pacing only
    CSubscription m_replies;
    CSubscription m_linkChanges;     // a lost port ends a reply-paced run at once
    unsigned long m_nIdAtStart = 0;  // the last line owed before the run
    unsigned long m_nLastId = 0;     // after the last step: its line, as the link owes it
    bool m_bDraining = false;        // the steps are done, their answers are awaited
    unsigned long m_nLossesAtLast = 0;
};
