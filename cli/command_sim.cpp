// qelvarctl sim: a virtual switcher on a new pseudo-terminal, until interrupted.
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "sim/switcher_bus.h"
#include "sim/switcher_server.h"

namespace {

// "K" or "K:REPLY".
bool ParseErrorAt(const std::string& text, CFaultOptions& faults) {
    size_t colon = text.find(':');
    auto line = ParseNumber(text.substr(0, colon), 1, 1000000);
    if (!line) return false;
    faults.nErrorAtLine = *line;
    if (colon == std::string::npos) return true;
    faults.errorReply = text.substr(colon + 1);
    for (const char* reply : {"GN", "MENU", "E0", "E1", "E2", "E3"}) {
        if (faults.errorReply == reply) return true;
    }
    return false;
}

bool TakeSimOptions(CCommandArgs& args, const CCliOptions& options, CSwitcherOptions& sw,
                    CFaultOptions& faults) {
    sw.nModel = options.nModel >= 0 ? options.nModel : 0;
    sw.bRs485 = options.nInterface == 1;
    sw.nAddress = options.nAddress;
    if (auto model = args.Value("--model")) {
        auto parsed = ParseModel(*model);
        if (!parsed) return false;
        sw.nModel = *parsed;
    }
    if (auto address = args.Value("--address")) {
        auto parsed = ParseNumber(*address, 0, 31);
        if (!parsed) return false;
        sw.nAddress = *parsed;
        // Only an RS-485 switcher is reached by its address; --rs232 still wins.
        sw.bRs485 = options.nInterface != 0;
    }
    if (auto errorAt = args.Value("--error-at"); errorAt && !ParseErrorAt(*errorAt, faults)) {
        return false;
    }
    if (auto drop = args.Value("--drop-at")) {
        auto parsed = ParseNumber(*drop, 1, 1000000);
        if (!parsed) return false;
        faults.nDropAtLine = *parsed;
    }
    if (auto baud = args.Value("--baud")) {
        auto parsed = ParseNumber(*baud, 300, 1000000);
        if (!parsed) return false;
        faults.nBaud = *parsed;
    }
    if (auto delay = args.Value("--delay")) {
        auto parsed = ParseNumber(*delay, 0, 60000);
        if (!parsed) return false;
        faults.nDelayMs = *parsed;
    }
    faults.bSilent = args.Flag("--silent");
    faults.bSplitBytes = args.Flag("--split");
    return args.Error().empty();
}

// --switcher NN[:32|64], each a switcher of its own on one RS-485 line. The
// options of a lone switcher (--address, --rs232) do not mix with them.
std::optional<std::vector<CSwitcherOptions>> TakeBus(CCommandArgs& args, const CCliOptions& options,
                                                     int nModel, std::string& error) {
    std::vector<CSwitcherOptions> bus;
    for (const auto& text : args.Values("--switcher")) {
        auto sw = ParseBusSwitcher(text, nModel);
        if (!sw) {
            error = "--switcher takes NN[:32|64], a slave address 00..31: " + text;
            return std::nullopt;
        }
        bus.push_back(*sw);
    }
    if (bus.empty()) return bus;
    if (options.nInterface == 0) error = "--switcher puts switchers on RS-485; not with --rs232";
    if (error.empty()) error = BusConflict(bus);
    if (!error.empty()) return std::nullopt;
    return bus;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Waits for SIGINT or SIGTERM, which were blocked before any thread started.
void WaitForInterrupt(const sigset_t& signals) {
    int signal = 0;
    sigwait(&signals, &signal);
}

}  // namespace

int RunSim(const CCliOptions& options) {
    CCommandArgs args(options.args);
    CSwitcherOptions sw;
    CFaultOptions faults;
    auto state = args.Value("--state");
    const bool bAddressGiven = std::ranges::any_of(
        options.args, [](const std::string& a) { return a.starts_with("--address"); });
    bool ok = TakeSimOptions(args, options, sw, faults);
    std::string busError;
    auto bus = TakeBus(args, options, sw.nModel, busError);
    if (bus && !bus->empty() && bAddressGiven) busError = "--switcher and --address do not mix";
    if (bus && bus->size() > 1 && state) busError = "--state serves a single switcher";
    if (!busError.empty()) {
        PrintError(busError);
        return kExitUsage;
    }
    if (!ok || !args.Positional().empty() || !args.Error().empty()) {
        PrintError(args.Error().empty() ? "bad option for sim (see qelvarctl sim --help)"
                                        : args.Error());
        return kExitUsage;
    }
    if (!bus->empty()) sw = bus->front();
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CSwitcherServer server(sw, faults);
    for (size_t i = 1; i < bus->size(); ++i) server.AddSwitcher((*bus)[i]);
    if (state && FileExists(*state) && !server.LoadState(*state)) {
        PrintError("cannot read the state file " + *state);
        return kExitCannotOpen;
    }
    if (!server.Start()) {
        PrintError("cannot start the virtual switcher: " + server.Error());
        return kExitCannotOpen;
    }
    std::printf("%s\n", server.DevicePath().c_str());
    std::fflush(stdout);
    WaitForInterrupt(signals);
    server.Stop();
    if (state && !server.SaveState(*state)) {
        PrintError("cannot write the state file " + *state);
        return kExitCannotOpen;
    }
    return kExitOk;
}
