// A send cycle run by a dialog's timer: one step per period, CLOSE disabled
// while it runs, and the dialog told of each step and of how the cycle ended.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "batch/send_cycle.h"

class QPushButton;

class CCycleTimer {
public:
    explicit CCycleTimer(QPushButton* closeButton);
    ~CCycleTimer();  // a cycle still running ends with it

    // Starts the steps unless some cycle already runs (g_nSendStep != 0).
    void Start(CStepList steps);
    // One tick of the timer.
    void OnTick();
    // Ends a running cycle at once (its dialog is closing).
    void Stop();

    bool Running() const { return m_pCycle && m_pCycle->Running(); }
    QTimer& Timer() { return m_timer; }

    std::function<void(int k, int nSteps)> onStep;  // step k was performed
    std::function<void()> onFinished;               // the last step was done
    // An error reply stops the cycle: the dialog keeps showing the last step.

private:
    void End();

    QPushButton* m_pClose;
    QTimer m_timer;
    std::unique_ptr<CSendCycle> m_pCycle;
};
