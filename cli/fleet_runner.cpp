#include "cli/fleet_runner.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>

#include "cli/exit_codes.h"

namespace {

constexpr char kToolPrefix[] = "qelvarctl: ";

}  // namespace

struct CFleetRunner::CLane {
    std::vector<size_t> tasks;
    size_t nNext = 0;
    size_t nCurrent = 0;
    std::unique_ptr<CChildProcess> child;
    Clock::time_point started;
    bool Running() const { return child != nullptr; }
    bool Over() const { return !child && nNext == tasks.size(); }
};

CFleetRunner::CFleetRunner(std::vector<CFleetTask> tasks, std::vector<std::vector<size_t>> lanes,
                           int nJobs)
    : m_tasks(std::move(tasks)),
      m_states(m_tasks.size()),
      m_outcomes(m_tasks.size()),
      m_phase(m_tasks.size(), 0),
      m_nJobs(std::max(1, nJobs)) {
    for (auto& indices : lanes) {
        m_lanes.push_back(std::make_unique<CLane>());
        m_lanes.back()->tasks = std::move(indices);
    }
}

CFleetRunner::~CFleetRunner() = default;

void CFleetRunner::Run() {
    for (;;) {
        if (!m_nStopSignal && stopRequested) {
            if (const int signal = stopRequested()) Stop(signal);
        }
        int running = 0;
        for (const auto& lane : m_lanes) running += lane->Running();
        for (auto& lane : m_lanes) {
            if (running >= m_nJobs || m_nStopSignal) break;
            if (!lane->Running() && lane->nNext > 0 && !lane->Over()) running += StartNext(*lane);
        }
        for (auto& lane : m_lanes) {
            if (running >= m_nJobs || m_nStopSignal) break;
            if (lane->nNext == 0 && !lane->tasks.empty()) running += StartNext(*lane);
        }
        if (running == 0 && std::all_of(m_lanes.begin(), m_lanes.end(),
                                        [](const auto& lane) { return lane->Over(); })) {
            return;
        }
        Poll();
    }
}

// Starts the lane's next task; false when none could be started.
bool CFleetRunner::StartNext(CLane& lane) {
    while (lane.nNext < lane.tasks.size()) {
        const size_t task = lane.tasks[lane.nNext++];
        lane.nCurrent = task;
        lane.started = Clock::now();
        lane.child = std::make_unique<CChildProcess>();
        std::string error;
        if (lane.child->Start(m_tasks[task].argv, error)) {
            m_states[task].strState = m_tasks[task].strFirstState;
            if (onChange) onChange(task);
            return true;
        }
        m_outcomes[task].err.push_back("cannot run " + m_tasks[task].argv[0] + ": " + error);
        Finish(lane, kExitCannotOpen);
    }
    return false;
}

void CFleetRunner::Finish(CLane& lane, int status) {
    const size_t task = lane.nCurrent;
    lane.child.reset();
    m_outcomes[task].nStatus = status;
    m_outcomes[task].dSeconds = std::chrono::duration<double>(Clock::now() - lane.started).count();
    m_states[task].bDone = true;
    if (onEnded) onEnded(task);
    if (onChange) onChange(task);
}

void CFleetRunner::Poll() {
    std::vector<pollfd> fds;
    std::vector<CLane*> owners;
    for (auto& lane : m_lanes) {
        if (!lane->Running()) continue;
        for (int fd : {lane->child->OutFd(), lane->child->ErrFd()}) {
            if (fd < 0) continue;
            fds.push_back({fd, POLLIN, 0});
            owners.push_back(lane.get());
        }
    }
    // A short timeout: a stop asked for by a signal is seen soon.
    if (::poll(fds.data(), fds.size(), 200) <= 0) return;
    for (size_t i = 0; i < fds.size(); ++i) {
        CLane& lane = *owners[i];
        // The other pipe of a command that has just ended.
        if (!fds[i].revents || !lane.Running()) continue;
        const size_t task = lane.nCurrent;
        lane.child->ReadFrom(fds[i].fd, [&](CChildProcess::Stream stream, std::string line) {
            OnLine(task, stream, std::move(line));
        });
        if (lane.child->Ended()) Finish(lane, lane.child->Wait());
    }
}

void CFleetRunner::OnLine(size_t task, CChildProcess::Stream stream, std::string line) {
    if (stream == CChildProcess::Stream::kErr && TakeProgress(task, line)) return;
    // Every line is the switcher's own in the report: the tool's name adds nothing.
    if (stream == CChildProcess::Stream::kErr && line.starts_with(kToolPrefix)) {
        line.erase(0, sizeof kToolPrefix - 1);
    }
    auto& lines =
        stream == CChildProcess::Stream::kOut ? m_outcomes[task].out : m_outcomes[task].err;
    lines.push_back(std::move(line));
}

// "progress K/N": step K of N; K = 0 as a run begins.
bool CFleetRunner::TakeProgress(size_t task, const std::string& line) {
    int step = 0, steps = 0, used = 0;
    if (std::sscanf(line.c_str(), "progress %d/%d%n", &step, &steps, &used) != 2 ||
        used != static_cast<int>(line.size())) {
        return false;
    }
    CFleetState& state = m_states[task];
    const auto& phases = m_tasks[task].phases;
    if (step == 0 && !phases.empty()) {
        state.strState = phases[std::min<size_t>(m_phase[task]++, phases.size() - 1)];
    }
    state.nStep = step;
    state.nSteps = steps;
    if (onChange) onChange(task);
    return true;
}

void CFleetRunner::Stop(int signal) {
    m_nStopSignal = signal;
    for (auto& lane : m_lanes) {
        if (lane->Running()) lane->child->Signal(signal);
        while (lane->nNext < lane->tasks.size()) {
            const size_t task = lane->tasks[lane->nNext++];
            m_outcomes[task].nStatus = 128 + signal;
            m_outcomes[task].err.push_back("not run: the fleet was interrupted");
            m_outcomes[task].bNotRun = true;
            m_states[task].strState = "not run";
            m_states[task].bDone = true;
            if (onEnded) onEnded(task);
            if (onChange) onChange(task);
        }
    }
}
