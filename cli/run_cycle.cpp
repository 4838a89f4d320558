#include "cli/run_cycle.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "batch/cycle_pace.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "model/settings_model.h"

namespace {

using Clock = std::chrono::steady_clock;

class CCycleRunner {
public:
    CCycleRunner(CSendCycle& cycle, const CRunSettings& settings)
        : m_cycle(cycle), m_settings(settings) {}

    int Run() {
        m_cycle.onRefused = [this](int k, const char* warning) {
            std::string item = Describe(k);
            PrintError(item + ": " + warning);
            m_refused.push_back(item);
        };
        m_faultBefore = Link().LastFault();
        Link().ClearFault();
        m_nEchoesBefore = Link().Echoes();
        m_nLastBefore = Link().Owed().LastId();
        m_nLossesBefore = Link().State().Losses();
        ShowProgressLine();  // "progress 0/N": a new run begins
        bool stopped = m_settings.bDryRun ? RunFree() : RunPaced();
        EndProgress();
        if (m_bNoReply) return kExitNoReply;
        const bool answered = stopped || m_settings.bDryRun || AwaitStragglers();
        if (!m_settings.bDryRun && PortLostSince(m_nLossesBefore)) return ReportPortLost();
        if (!answered || stopped) return ReportError();
        return Summary();
    }

private:
    std::string Describe(int k) const {
        return m_cycle.Steps().describe ? m_cycle.Steps().describe(k) : "step " + std::to_string(k);
    }

    // Returns true when an error reply stopped the cycle.
    bool Step() {
        TickOutcome outcome = m_cycle.Tick();
        ShowProgress();
        return outcome == TickOutcome::kStopped;
    }

    bool RunFree() {
        m_cycle.Start();
        while (m_cycle.Running()) {
            if (Step()) return true;
        }
        return false;
    }

    // Under the timer, or each line once the one before is answered.
    bool RunPaced() {
        CCyclePacer pacer(m_cycle, m_settings.bAckPace ? CyclePace::kReplies : CyclePace::kTimer,
                          m_settings.nIntervalMs, kReplyTimeMs);
        if (!pacer.Start(Clock::now())) return false;
        while (m_cycle.Running()) {
            const int wait = pacer.MsUntilDue(Clock::now());
            if (wait > 0) {
                WaitForReplies(wait);
            } else {
                DispatchReplies();
            }
            switch (pacer.Poll(Clock::now())) {
                case PaceOutcome::kStepped:
                case PaceOutcome::kFinished:
                    ShowProgress();
                    break;
                case PaceOutcome::kStopped:
                    ShowProgress();
                    return true;
                case PaceOutcome::kNoReply:
                    PrintError("no reply to " + Describe(pacer.NoReplyStep()) + " within 3.5 s" +
                               EchoNote());
                    m_bNoReply = true;
                    return false;
                case PaceOutcome::kWaiting:
                case PaceOutcome::kIgnored:
                    break;
            }
        }
        return false;
    }

    // Waits for the replies to the last lines, each for the reply time at
    // most. False when one stops the run (an error reply, a line that is
    // none), also when a GO to a later line has cleared the flag since.
    bool AwaitStragglers() {
        while (Link().Owed().Fate(Link().Owed().LastId()) == ReplyFate::kOwed && !Faulted() &&
               !PortLostSince(m_nLossesBefore)) {
            WaitForReplies(50);
        }
        DispatchReplies();
        return !Faulted();
    }

    // The run cleared the answer kept as it started.
    static bool Faulted() { return g_bErrorReply || Link().LastFault(); }

    // A port that only sent back what it heard answered nothing: say why.
    std::string EchoNote() const {
        return Link().Echoes() != m_nEchoesBefore ? "; " + EchoText() : std::string();
    }

    // Lines of this run that got no answer.
    unsigned long Missing() const {
        unsigned long missing = 0;
        for (unsigned long id = m_nLastBefore + 1; id <= Link().Owed().LastId(); ++id) {
            if (Link().Owed().Fate(id) != ReplyFate::kAnswered) ++missing;
        }
        return missing;
    }

    // The step whose reply stopped the run: under the timer the lines run
    // ahead of their replies, so it is the step that sent the line answered.
    std::string Where() const {
        const auto& fault = Link().LastFault();
        const int k = fault && fault->owed.nStep > 0 ? fault->owed.nStep : m_cycle.LastStep();
        return k == 0 ? "before the first step"
                      : "at step " + std::to_string(k) + " of " +
                            std::to_string(m_cycle.Steps().nSteps) + " (" + Describe(k) + ")";
    }

    int ReportError() {
        g_bErrorReply = 0;
        // A flag still up from before the run stops it on its first tick: the
        // answer that raised it is the one kept then.
        const auto& fault = Link().LastFault() ? Link().LastFault() : m_faultBefore;
        PrintError((fault ? FaultMessage(*fault) : std::string()) + ": stopped " + Where());
        return kExitErrorReply;
    }

    int ReportPortLost() {
        g_bErrorReply = 0;
        PrintError("port lost: " + LostPortText() + ": stopped " + Where());
        return kExitNoReply;
    }

    int Summary() {
        if (!m_settings.bDryRun && Missing() > 0) {
            PrintError(std::to_string(Missing()) + " of " +
                       std::to_string(Link().Owed().LastId() - m_nLastBefore) +
                       " lines got no reply" + EchoNote());
            return kExitNoReply;
        }
        if (!m_refused.empty()) {
            std::string list;
            for (const auto& item : m_refused) list += (list.empty() ? "" : ", ") + item;
            PrintError("left out: " + list);
            return kExitRefused;
        }
        return kExitOk;
    }

    // One line a step, for a program that shows the run (qelvarctl fleet).
    void ShowProgressLine() {
        if (!m_settings.bProgressLines || m_cycle.LastStep() == m_nLastShown) return;
        m_nLastShown = m_cycle.LastStep();
        std::fprintf(stderr, "progress %d/%d\n", m_nLastShown, m_cycle.Steps().nSteps);
        std::fflush(stderr);
    }

    void ShowProgress() {
        ShowProgressLine();
        if (!m_settings.bProgress) return;
        const int n = m_cycle.Steps().nSteps;
        const int k = m_cycle.LastStep();
        const int width = 30;
        std::string bar(static_cast<size_t>(width * k / n), '#');
        bar.resize(width, '.');
        std::fprintf(stderr, "\rstep %d of %d [%s] %-24s", k, n, bar.c_str(), Describe(k).c_str());
        m_bProgressShown = true;
    }

    void EndProgress() {
        if (m_bProgressShown) std::fprintf(stderr, "\n");
    }

    CSendCycle& m_cycle;
    const CRunSettings& m_settings;
    std::optional<CReplyFault> m_faultBefore;
    std::vector<std::string> m_refused;
    unsigned long m_nLastBefore = 0;  // the last line owed a reply before the run
    unsigned long m_nEchoesBefore = 0;
    unsigned long m_nLossesBefore = 0;
    bool m_bNoReply = false;
    bool m_bProgressShown = false;
    int m_nLastShown = -1;
};

}  // namespace

bool TakeRunOptions(const CCliOptions& options, CCommandArgs& args, CRunSettings& run) {
    if (auto interval = args.Value("--interval")) {
        auto ms = ParseNumber(*interval, 1, 60000);
        if (!ms) return false;
        run.nIntervalMs = *ms;
    }
    if (auto pace = args.Value("--pace")) {
        if (*pace != "ack" && *pace != "timer") return false;
        run.bAckPace = *pace == "ack";
    }
    run.bProgressLines = options.bProgressLines;
    run.bProgress = !run.bProgressLines && ::isatty(STDERR_FILENO);
    return args.Error().empty();
}

int RunCycle(CSendCycle& cycle, const CRunSettings& settings) {
    return CCycleRunner(cycle, settings).Run();
}
