// Before a run: is the switcher on the line the model the run is for?
#pragma once

#include <string>

#include "cli/cli_options.h"

// Where the model in force came from, for the warning: "--model" when given,
// "the file" when one was loaded (send FILE, read --base FILE), else "the profile".
std::string ModelSource(const CCliOptions& options, bool bFileLoaded);

// Asks the switcher the link talks to which model it is (one RCPI, whose
// answer is not applied) and warns on stderr when it is not g_nModel, which
// came from modelSource. Says nothing when the switcher does not tell. Call
// with the link open and before the run sends anything.
void WarnOnModelMismatch(const std::string& modelSource);
