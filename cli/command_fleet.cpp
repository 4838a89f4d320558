// qelvarctl fleet INVENTORY COMMAND: one command over every switcher of an
// inventory, the lines side by side, and one report.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/fleet_backup.h"
#include "cli/fleet_inventory.h"
#include "cli/fleet_progress.h"
#include "cli/fleet_report.h"
#include "cli/fleet_runner.h"
#include "cli/fleet_tasks.h"

namespace {

constexpr char kUsage[] =
    "usage: qelvarctl fleet INVENTORY check|send [--verify]|diff|backup DIR [--only NAME]... "
    "[--jobs N] [--json FILE] [--junit FILE]";

struct CFleetArgs {
    std::string strInventory;
    CFleetPlan plan;
    std::vector<std::string> only;
    int nJobs = 0;  // 0: a job per line
    std::optional<std::string> json;
    std::optional<std::string> junit;
};

std::optional<FleetCommand> CommandNamed(const std::string& name) {
    for (auto command :
         {FleetCommand::kCheck, FleetCommand::kSend, FleetCommand::kDiff, FleetCommand::kBackup}) {
        if (name == FleetCommandName(command)) return command;
    }
    return std::nullopt;
}

bool TakeFleetArgs(const CCliOptions& options, CFleetArgs& fleet) {
    CCommandArgs args(options.args);
    fleet.plan.bVerify = args.Flag("--verify");
    fleet.only = args.Values("--only");
    fleet.json = args.Value("--json");
    fleet.junit = args.Value("--junit");
    if (auto jobs = args.Value("--jobs")) {
        auto n = ParseNumber(*jobs, 1, 256);
        if (!n) {
            PrintError("--jobs takes a number of lines at once, 1..256");
            return false;
        }
        fleet.nJobs = *n;
    }
    const auto positional = args.Positional();
    const auto command = positional.size() >= 2 ? CommandNamed(positional[1]) : std::nullopt;
    const size_t wanted = command == FleetCommand::kBackup ? 3 : 2;
    if (!args.Error().empty() || !command || positional.size() != wanted ||
        (fleet.plan.bVerify && command != FleetCommand::kSend) || !options.strPort.empty() ||
        options.nInterface >= 0) {
        PrintError(
            !args.Error().empty() ? args.Error()
            : !options.strPort.empty() || options.nInterface >= 0
                ? std::string("fleet takes each switcher's port and address from the inventory")
                : std::string(kUsage));
        return false;
    }
    fleet.strInventory = positional[0];
    fleet.plan.command = *command;
    if (wanted == 3) fleet.plan.strBackupDir = positional[2];
    fleet.plan.strProfile = options.strProfile;
    fleet.plan.nWaitS = options.nWaitS;
    return true;
}

CInventoryError FaultAt(const std::string& inventory, const CFleetSwitcher& sw, std::string text) {
    return {inventory, sw.nLine, text + " in [" + sw.strName + "]"};
}

// The switchers --only names (all when none), and what keeps them from this command.
std::vector<CFleetSwitcher> Select(const CFleetArgs& fleet, const CFleetInventory& inventory,
                                   std::vector<CInventoryError>& errors) {
    for (const auto& name : fleet.only) {
        if (std::none_of(inventory.switchers.begin(), inventory.switchers.end(),
                         [&](const auto& sw) { return sw.strName == name; })) {
            errors.push_back({fleet.strInventory, 0, "no switcher is named '" + name + "'"});
        }
    }
    std::vector<CFleetSwitcher> chosen;
    const FleetCommand command = fleet.plan.command;
    for (const auto& sw : inventory.switchers) {
        if (!fleet.only.empty() &&
            std::find(fleet.only.begin(), fleet.only.end(), sw.strName) == fleet.only.end()) {
            continue;
        }
        if ((command == FleetCommand::kSend || command == FleetCommand::kDiff) &&
            sw.strFile.empty()) {
            errors.push_back(FaultAt(fleet.strInventory, sw,
                                     "no file to " + std::string(FleetCommandName(command))));
        }
        if (command == FleetCommand::kBackup && !BackupNameFault(sw.strName).empty()) {
            errors.push_back(FaultAt(fleet.strInventory, sw, BackupNameFault(sw.strName)));
        }
        chosen.push_back(sw);
    }
    return chosen;
}

bool MakeBackupDir(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat st {};
        if (::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
    }
    PrintError("cannot use " + dir + " for the backups: " + std::strerror(errno));
    return false;
}

volatile std::sig_atomic_t g_nFleetStopSignal = 0;

void OnStopSignal(int signal) {
    g_nFleetStopSignal = signal;
}

// SIGINT and SIGTERM stop the fleet: what runs is told, the report still comes.
class CStopSignals {
public:
    CStopSignals() {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        ::sigaction(SIGINT, &action, &m_oldInt);
        ::sigaction(SIGTERM, &action, &m_oldTerm);
    }
    ~CStopSignals() {
        ::sigaction(SIGINT, &m_oldInt, nullptr);
        ::sigaction(SIGTERM, &m_oldTerm, nullptr);
    }

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

std::string SelfPath() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("/proc/self/exe");
}

CFleetReport RunSwitchers(const CFleetArgs& fleet, const std::vector<CFleetSwitcher>& switchers) {
    std::vector<CFleetTask> tasks;
    std::vector<std::string> names;
    for (const auto& sw : switchers) {
        tasks.push_back(FleetTaskFor(fleet.plan, sw));
        names.push_back(sw.strName);
    }
    std::vector<std::vector<size_t>> lanes;
    for (const auto& group : GroupByPort(switchers)) {
        lanes.emplace_back();
        for (const auto& sw : group.switchers) {
            const auto it = std::find_if(switchers.begin(), switchers.end(),
                                         [&](const auto& s) { return s.strName == sw.strName; });
            lanes.back().push_back(static_cast<size_t>(it - switchers.begin()));
        }
    }
    const int jobs = fleet.nJobs > 0 ? fleet.nJobs : static_cast<int>(lanes.size());
    CFleetRunner runner(std::move(tasks), std::move(lanes), jobs);
    CFleetProgressView view(names, ::isatty(STDOUT_FILENO), stdout);
    CFleetReport report;
    report.command = fleet.plan.command;
    report.strInventory = fleet.strInventory;
    report.results.resize(switchers.size());
    runner.onEnded = [&](size_t i) {
        report.results[i] = FleetResultOf(fleet.plan, switchers[i], runner.Outcome(i));
    };
    runner.onChange = [&](size_t i) {
        CFleetState state = runner.State(i);
        if (state.bDone) state.strState = report.results[i].strResult;
        view.Changed(i, state);
    };
    CStopSignals signals;
    g_nFleetStopSignal = 0;
    runner.stopRequested = [] { return static_cast<int>(g_nFleetStopSignal); };
    const auto started = std::chrono::steady_clock::now();
    runner.Run();
    view.Finish();
    report.dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return report;
}

bool WriteReports(const CFleetArgs& fleet, const CFleetReport& report) {
    bool ok = true;
    std::string error;
    if (fleet.json && !WriteReportFile(*fleet.json, FleetJson(report), error)) {
        PrintError(error);
        ok = false;
    }
    if (fleet.junit && !WriteReportFile(*fleet.junit, FleetJunit(report), error)) {
        PrintError(error);
        ok = false;
    }
    return ok;
}

}  // namespace

int RunFleet(const CCliOptions& options) {
    CFleetArgs fleet;
    if (!TakeFleetArgs(options, fleet)) return kExitUsage;
    CFleetInventory inventory = ReadFleetInventory(fleet.strInventory);
    std::vector<CInventoryError> errors = inventory.errors;
    const auto switchers =
        inventory ? Select(fleet, inventory, errors) : std::vector<CFleetSwitcher>();
    if (!errors.empty()) {
        for (const auto& error : errors) PrintError(error.Message());
        PrintError("nothing was run");
        return kExitUsage;
    }
    if (fleet.plan.command == FleetCommand::kBackup && !MakeBackupDir(fleet.plan.strBackupDir)) {
        return kExitCannotOpen;
    }
    fleet.plan.strSelf = SelfPath();
    const CFleetReport report = RunSwitchers(fleet, switchers);
    std::fputs(FleetTable(report).c_str(), stdout);
    const bool written = WriteReports(fleet, report);
    const int status = FleetStatus(report);
    return status == kExitOk && !written ? kExitCannotOpen : status;
}
