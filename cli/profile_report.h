// The profile as qelvarctl reads it, saying once on stderr what it could not use.
#pragma once

#include <string>

#include "cli/cli_options.h"
#include "link/comm_settings.h"

// Takes --profile, reads the link settings from the profile and prints each
// note, and a profile that cannot be read, naming the default port in force
// unless --port gave another.
void ReadProfileSettings(const CCliOptions& options);

// "cannot read the profile PATH: REASON", "cannot write the profile PATH: REASON".
std::string ProfileFaultMessage(const CProfileFault& fault);
