// The commands of qelvarctl. Each returns the process's exit status.
#pragma once

#include "cli/cli_options.h"
#include "cli/cli_sink.h"

int RunSend(const CCliOptions& options, CCliSink& sink);
int RunRead(const CCliOptions& options, CCliSink& sink);
int RunDiff(const CCliOptions& options, CCliSink& sink);
int RunLine(const CCliOptions& options, CCliSink& sink);
int RunClock(const CCliOptions& options, CCliSink& sink);
int RunAddress(const CCliOptions& options, CCliSink& sink);
int RunScan(const CCliOptions& options, CCliSink& sink);
int RunPorts(const CCliOptions& options, CCliSink& sink);
int RunSim(const CCliOptions& options, CCliSink& sink);

// The help of the tool, or of one command; nullptr for an unknown command.
const char* HelpText(const std::string& command);
// What --version prints under the version line: the copyright and the licence.
const char* LicenceNotice();
