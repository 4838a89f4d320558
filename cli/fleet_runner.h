// Runs the fleet's single commands: one child qelvarctl per switcher, the
// switchers of one line one after another (they share it), lines side by side.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/child_process.h"

// One switcher's command, as the fleet runs it.
struct CFleetTask {
    std::vector<std::string> argv;
    std::string strFirstState;        // until its first run begins: "connecting", "asking"
    std::vector<std::string> phases;  // the state each run of it begins: "sending", "verifying"
};

// How a switcher stands, for the progress lines.
struct CFleetState {
    std::string strState = "waiting";
    int nStep = 0;
    int nSteps = 0;
    bool bDone = false;
};

// What its command gave.
struct CFleetOutcome {
    int nStatus = -1;
    std::vector<std::string> out;  // its stdout, a line each
    std::vector<std::string> err;  // its stderr, the progress lines left out
    double dSeconds = 0;
    bool bNotRun = false;  // the fleet was stopped before its turn
};

class CFleetRunner {
public:
    // lanes: indices into tasks, one lane per line, each run in order.
    CFleetRunner(std::vector<CFleetTask> tasks, std::vector<std::vector<size_t>> lanes, int nJobs);
    ~CFleetRunner();

    // Called after a task's state changes, and once it has ended (before the
    // next of its lane starts) or will not be run.
    std::function<void(size_t)> onChange;
    std::function<void(size_t)> onEnded;
    // A signal that asks the fleet to stop (0: none): running commands get
    // it, those not started are not run and end with 128 + the signal.
    std::function<int()> stopRequested;

    // Runs every lane to its end, at most nJobs at once.
    void Run();

    const CFleetState& State(size_t i) const { return m_states[i]; }
    const CFleetOutcome& Outcome(size_t i) const { return m_outcomes[i]; }

private:
    struct CLane;
    using Clock = std::chrono::steady_clock;

    bool StartNext(CLane& lane);
    void Finish(CLane& lane, int status);
    void OnLine(size_t task, CChildProcess::Stream stream, std::string line);
    bool TakeProgress(size_t task, const std::string& line);
    void Poll();
    void Stop(int signal);

    std::vector<CFleetTask> m_tasks;
    std::vector<CFleetState> m_states;
    std::vector<CFleetOutcome> m_outcomes;
    std::vector<int> m_phase;  // runs begun so far, per task
    std::vector<std::unique_ptr<CLane>> m_lanes;
    int m_nJobs;
    int m_nStopSignal = 0;
};
