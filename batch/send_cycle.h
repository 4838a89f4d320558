// The one mechanism behind every timed send: the editors' All set, the
// all-items transmission and the read-back. A timer (a Qt timer, the
// command-line tool's loop, a test) calls Tick(); each tick performs one step
// of a step list and reports it. g_nSendStep carries the step the next tick
// performs (0 = no cycle runs) and g_bErrorReply stops the cycle; so does the
// port being lost while the cycle runs, with one box that names the port, and
// the connection monitor's "No Connect" (its own box is the only one). How the
// cycle ended is kept as its Outcome().
#pragma once

#include <functional>
#include <string>

#include "batch/run_outcome.h"
#include "editors/send_step.h"

struct CStepList {
    int nSteps = 0;
    std::function<CStepResult(int k)> perform;   // step k, 1-based
    std::function<std::string(int k)> describe;  // "pattern 05", for messages and logs
    std::function<std::string(int k)> name;      // "パターン 05", as the dialogs say it
    // The read-back ends on the tick after its last step; the others on the last step's tick.
    bool bEndsOnTickAfterLast = false;
    int nTimerId = 0;
    int nPeriodMs = 0;
};

enum class TickOutcome {
    kIgnored,   // no cycle runs, or a tick arrived while a step's warning was open
    kStepped,   // step LastStep() was performed (its line sent or its item refused)
    kFinished,  // the cycle ended normally on this tick
    kStopped,   // an error reply, the port lost (PortLost()), "No Connect", or Stop() from
                // inside a step ended the cycle early
};

class CSendCycle {
public:
    explicit CSendCycle(CStepList steps);
    ~CSendCycle();  // a cycle still running ends, so g_nSendStep is 0 once it is gone
    CSendCycle(const CSendCycle&) = delete;
    CSendCycle& operator=(const CSendCycle&) = delete;

    // Starts at step 1 when no cycle runs anywhere (g_nSendStep is 0). The error
    // flag is not cleared: a stale error stops the cycle on its first tick.
    bool Start();
    TickOutcome Tick();
    // Ends a running cycle at once: its user stopped it or its dialog was
    // closed (kStopped), or its pacer found a reply missing (kNoConnect).
    void Stop(RunEnd why = RunEnd::kStopped);
    // How the run ended after its steps, once its last lines were answered
    // or not: an error reply to one of them, the port lost, "No Connect".
    void EndAfterSteps(RunEnd why);

    bool Running() const { return m_bRunning; }
    // Whether the port was lost while the last run went on, which stopped it.
    bool PortLost() const { return m_bPortLost; }
    // Whether the port has been lost since the run started: its next tick stops it.
    bool PortLostSinceStart() const;
    // Whether the connection monitor has said "No Connect" since the run's
    // first line went out: its next tick stops it.
    bool NoConnectSinceStart() const;
    // Whether an answer that stops a run (Link().LastFault()) came to one of
    // the lines of the last run. It stops the run even when a GO to a later
    // line, taken in before the tick, has cleared g_bErrorReply again.
    bool FaultSinceStart() const;
    // How the last run ended, or goes on: the steps performed and refused so far.
    const CRunOutcome& Outcome() const { return m_outcome; }
    int LastStep() const { return m_nLastStep; }  // 0 before the first step
    const CStepList& Steps() const { return m_steps; }

    // Called with each step after it was performed.
    std::function<void(int k)> onStep;
    // Takes a refused item's warning; when unset, the warning goes to ShowWarning.
    // A refusal without one (no such item) is only counted in the outcome.
    std::function<void(int k, const char* warning)> onRefused;

private:
    void End(RunEnd why);
    void Perform(int k);

    CStepList m_steps;
    bool m_bRunning = false;
    bool m_bInStep = false;
    bool m_bPortLost = false;
    unsigned long m_nLossesAtStart = 0;
    unsigned long m_nNoConnectsAtFirst = 0;
    unsigned long m_nIdAtStart = 0;  // the last line owed before the run
    int m_nLastStep = 0;
    CRunOutcome m_outcome;
};
