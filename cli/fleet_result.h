// What qelvarctl fleet did with each switcher: the single command's status,
// what it said, and how long it took. The report is made from these.
#pragma once

#include <string>
#include <vector>

#include "cli/fleet_inventory.h"

enum class FleetCommand { kCheck, kSend, kDiff, kBackup };

// "check", "send", "diff", "backup".
const char* FleetCommandName(FleetCommand command);

struct CFleetResult {
    CFleetSwitcher switcher;
    int nStatus = 0;        // the exit status the single command gave
    std::string strResult;  // "ok", "differs", "absent", ... (FleetResultWord)
    std::string strAnswer;  // check: the model as answered ("Qelvar-32", "unknown (MENU)")
    double dSeconds = 0;    // from its start to its end, waiting for its line left out
    std::vector<std::string> details;  // the differences, or what went wrong, in order
};

struct CFleetReport {
    FleetCommand command = FleetCommand::kCheck;
    std::string strInventory;           // the inventory's path, as given
    std::vector<CFleetResult> results;  // in inventory order
    double dSeconds = 0;                // the whole run
};

// The fleet's exit status: 0 when every switcher succeeded, else the highest
// single status.
int FleetStatus(const CFleetReport& report);

// The result a single command's exit status shows as: "ok", "usage error",
// "absent" (its port cannot be opened), "error reply", "port lost" or "no
// reply" (told apart by what it said on stderr), "refused", "differs" ("model
// differs" for check), else "failed (status N)", a death by a signal among them.
std::string FleetResultWord(FleetCommand command, int status,
                            const std::vector<std::string>& stderrLines);
