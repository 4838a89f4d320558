#include "cli/fleet_result.h"

#include <algorithm>
#include <string_view>

#include "cli/exit_codes.h"

namespace {

// The command's own message, with or without the program's name in front.
bool SaysPortLost(std::string_view line) {
    constexpr std::string_view kProgram = "qelvarctl: ";
    if (line.starts_with(kProgram)) line.remove_prefix(kProgram.size());
    return line.starts_with("port lost");
}

// No process exits with a negative status; one that came to be given counts as
// the highest, so that it never passes for success.
int ExitStatus(const CFleetResult& result) {
    return result.nStatus < 0 ? 255 : result.nStatus;
}

}  // namespace

const char* FleetCommandName(FleetCommand command) {
    switch (command) {
        case FleetCommand::kCheck:
            return "check";
        case FleetCommand::kSend:
            return "send";
        case FleetCommand::kDiff:
            return "diff";
        case FleetCommand::kBackup:
            return "backup";
    }
    return "";
}

int FleetStatus(const CFleetReport& report) {
    int status = kExitOk;
    for (const CFleetResult& result : report.results) status = std::max(status, ExitStatus(result));
    return status;
}

std::string FleetResultWord(FleetCommand command, int status,
                            const std::vector<std::string>& stderrLines) {
    switch (status) {
        case kExitOk:
            return "ok";
        case kExitUsage:
            return "usage error";
        case kExitCannotOpen:
            return "absent";
        case kExitErrorReply:
            return "error reply";
        case kExitNoReply:
            return std::any_of(stderrLines.begin(), stderrLines.end(), SaysPortLost) ? "port lost"
                                                                                     : "no reply";
        case kExitRefused:
            return "refused";
        case kExitDiffers:
            return command == FleetCommand::kCheck ? "model differs" : "differs";
    }
    return "failed (status " + std::to_string(status) + ")";
}
