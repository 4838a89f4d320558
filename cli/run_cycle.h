// Runs a send cycle from the command line: one step per interval (or per
// reply with --pace ack), progress on a terminal, and an exit status that
// says how the run went.
#pragma once

#include "batch/send_cycle.h"
#include "cli/cli_options.h"
#include "cli/cli_sink.h"

struct CRunSettings {
    int nIntervalMs = 300;
    bool bAckPace = false;  // the next line as soon as the previous one's reply is in
    bool bDryRun = false;   // lines are printed, nothing waits for replies
    bool bProgress = false;
    bool bProgressLines = false;  // "progress K/N" lines on stderr instead of the bar
};

// Takes --interval MS and --pace ack|timer; false on a usage error. Progress
// shows as a bar when stderr is a terminal, as lines with --progress-lines.
bool TakeRunOptions(const CCliOptions& options, CCommandArgs& args, CRunSettings& run);

// Runs the cycle to its end. Returns kExitOk, kExitErrorReply (message and the
// step on stderr), kExitNoReply (how many lines got none) or kExitRefused.
int RunCycle(CSendCycle& cycle, const CRunSettings& settings);
