// The commands of qelvarctl. Each returns the process's exit status.
#pragma once

#include "cli/cli_options.h"
#include "cli/cli_sink.h"

int RunSend(const CCliOptions& options);
int RunRead(const CCliOptions& options);
int RunDiff(const CCliOptions& options);
int RunLine(const CCliOptions& options);
int RunClock(const CCliOptions& options);
int RunAddress(const CCliOptions& options);
int RunScan(const CCliOptions& options);
int RunPorts(const CCliOptions& options);
int RunSim(const CCliOptions& options);
int RunServe(const CCliOptions& options);
int RunFleet(const CCliOptions& options);
int RunTitles(const CCliOptions& options);

// The help of the tool, or of one command; nullptr for an unknown command.
const char* HelpText(const std::string& command);
// What --version prints under the version line: the copyright and the licence.
const char* LicenceNotice();
