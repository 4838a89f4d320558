// qelvarctl: scripted backup and restore of a switcher's settings, clock
// setting, and the virtual switcher, on the program's own core.
#include <clocale>
#include <cstdio>
#include <string>

#include "cli/cli_options.h"
#include "cli/cli_sink.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"

namespace {

using CommandFn = int (*)(const CCliOptions&);

CommandFn FindCommand(const std::string& name) {
    if (name == "send") return RunSend;
    if (name == "read") return RunRead;
    if (name == "diff") return RunDiff;
    if (name == "line") return RunLine;
    if (name == "clock") return RunClock;
    if (name == "address") return RunAddress;
    if (name == "scan") return RunScan;
    if (name == "ports") return RunPorts;
    if (name == "sim") return RunSim;
    if (name == "serve") return RunServe;
    if (name == "fleet") return RunFleet;
    if (name == "titles") return RunTitles;
    return nullptr;
}

bool WantsHelp(const CCliOptions& options) {
    for (const auto& arg : options.args) {
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CCliOptions options;
    std::string error;
    if (!ParseCliOptions(argc, argv, options, error)) {
        PrintError(error + " (see qelvarctl --help)");
        return kExitUsage;
    }
    if (options.bVersion) {
        std::printf("qelvarctl (Qelvar) %s\n%s", QELVAR_VERSION, LicenceNotice());
        return kExitOk;
    }
    CommandFn command = FindCommand(options.strCommand);
    if (options.bHelp || WantsHelp(options)) {
        const char* help = HelpText(command ? options.strCommand : "");
        std::fputs(help, stdout);
        return kExitOk;
    }
    if (!command) {
        PrintError("unknown command " + options.strCommand + " (see qelvarctl --help)");
        return kExitUsage;
    }
    CCliSink sink;
    SetMessageSink(&sink);
    int status = command(options);
    SetMessageSink(nullptr);
    return status;
}
