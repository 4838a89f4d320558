// qelvarctl serve: the switcher (or each unit of an RS-485 bus) served to
// panels and control systems in the Videohub protocol, until interrupted.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "model/settings_model.h"
#include "server/control_server.h"

namespace {

struct CServeArgs {
    CServeSettings settings;
    std::vector<int> units;  // RS-485 slave addresses; empty: the one switcher
    std::optional<std::string> stateFrom;
};

std::string DefaultStatePath() {
    if (const char* dir = std::getenv("STATE_DIRECTORY"); dir && *dir) {
        return std::string(dir) + "/serve.state";
    }
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    if (state && *state) return std::string(state) + "/qelvar/serve.state";
    return std::string(home ? home : ".") + "/.local/state/qelvar/serve.state";
}

bool TakeServeArgs(CCommandArgs& args, CServeArgs& serve, std::string& error) {
    for (const auto& unit : args.Values("--unit")) {
        auto address = ParseNumber(unit, 0, 31);
        if (!address) {
            error = "--unit takes a slave address 00..31: " + unit;
            return false;
        }
        serve.units.push_back(*address);
    }
    if (auto listen = args.Value("--listen")) serve.settings.strListen = *listen;
    if (auto port = args.Value("--videohub")) {
        auto parsed = ParseNumber(*port, 1, 65535);
        if (!parsed) return error = "--videohub takes a TCP port: " + *port, false;
        serve.settings.nBasePort = *parsed;
    }
    if (auto clients = args.Value("--max-clients")) {
        auto parsed = ParseNumber(*clients, 1, 1024);
        if (!parsed) return error = "--max-clients takes 1..1024: " + *clients, false;
        serve.settings.nMaxClients = *parsed;
    }
    if (auto name = args.Value("--name")) serve.settings.strFriendlyName = *name;
    serve.settings.strStatePath = args.Value("--state").value_or(DefaultStatePath());
    serve.stateFrom = args.Value("--state-from");
    serve.settings.bReadBack = !serve.stateFrom;
    if (!args.Positional().empty() && error.empty()) error = "serve takes no file";
    if (!args.Error().empty()) error = args.Error();
    return error.empty();
}

std::vector<CServedUnit> MakeUnits(const CServeArgs& serve, std::vector<CSettingsTables>& tables) {
    std::vector<int> addresses = serve.units;
    if (addresses.empty()) addresses.push_back(g_bRs485 ? g_nSlaveAddress : -1);
    tables.assign(addresses.size(), g_settings);
    std::vector<CServedUnit> units(addresses.size());
    for (size_t i = 0; i < units.size(); ++i) {
        units[i].nAddress = g_bRs485 ? addresses[i] : -1;
        units[i].pTables = &tables[i];
    }
    return units;
}

void PrintPorts(const CControlServer& server) {
    for (size_t i = 0; i < server.UnitCount(); ++i) {
        const CServedUnit& unit = server.Unit(i);
        if (unit.nAddress >= 0) {
            std::printf("unit %02d: port %d\n", unit.nAddress, unit.nPort);
        } else {
            std::printf("port %d\n", unit.nPort);
        }
    }
    std::fflush(stdout);
}

// Replies, clients and their deadlines on this one thread, until SIGINT or
// SIGTERM (blocked before the link's thread started, read from signalfd).
void ServeUntilInterrupted(CControlServer& server, int signals) {
    for (;;) {
        pollfd fds[3] = {{Link().Replies().ReadyFd(), POLLIN, 0},
                         {server.Fd(), POLLIN, 0},
                         {signals, POLLIN, 0}};
        if (::poll(fds, 3, server.TimeoutMs()) < 0 && errno != EINTR) return;
        if (fds[2].revents & POLLIN) return;
        DispatchReplies();
        server.Service();
    }
}

}  // namespace

int RunServe(const CCliOptions& options) {
    CCommandArgs args(options.args);
    CServeArgs serve;
    std::string error;
    if (!TakeServeArgs(args, serve, error)) {
        PrintError(error + " (see qelvarctl serve --help)");
        return kExitUsage;
    }
    ApplyLinkSettings(options);
    if (!serve.units.empty() && !g_bRs485) {
        PrintError("--unit needs the RS-485 interface (--rs485 NN or the profile's)");
        return kExitUsage;
    }
    if (serve.stateFrom && !LoadRunFile(options, *serve.stateFrom)) return kExitCannotOpen;
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    const int signals = ::signalfd(-1, &mask, SFD_CLOEXEC);

    std::vector<CSettingsTables> tables;
    serve.settings.strLinkName = options.strPort.empty() ? CommPortName() : options.strPort;
    CControlServer server(serve.settings, MakeUnits(serve, tables));
    if (!server.Listen(error)) {
        PrintError(error);
        return kExitCannotOpen;
    }
    CLinkSession link(options);
    if (!link.IsOpen()) return kExitCannotOpen;
    PrintPorts(server);
    server.Service();
    ServeUntilInterrupted(server, signals);
    ::close(signals);
    return kExitOk;
}
