// What the fleet runs for each switcher, and what it makes of the outcome.
#pragma once

#include <string>
#include <vector>

#include "cli/fleet_result.h"
#include "cli/fleet_runner.h"

// What every switcher's command is given besides its own line.
struct CFleetPlan {
    FleetCommand command = FleetCommand::kCheck;
    std::string strSelf;     // this qelvarctl
    std::string strProfile;  // --profile, passed on
    int nWaitS = 0;          // --wait, passed on
    bool bVerify = false;    // send --verify
    std::string strBackupDir;
};

// The single command: qelvarctl --port P --rs485 NN ... send FILE --pace ack ...
CFleetTask FleetTaskFor(const CFleetPlan& plan, const CFleetSwitcher& switcher);

// The switcher's result from its command's outcome; a backup lands here.
CFleetResult FleetResultOf(const CFleetPlan& plan, const CFleetSwitcher& switcher,
                           const CFleetOutcome& outcome);
