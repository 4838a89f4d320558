// Reads the switcher back into a copy (no file written, the model untouched)
// and compares it with the settings model: qelvarctl diff and send --verify.
#pragma once

#include "cli/cli_sink.h"
#include "cli/run_cycle.h"
#include "model/settings_diff.h"

enum class DiffOutput { kLines, kJson };

// After a read-back or compare: true when every read got its data line;
// otherwise names those that did not on stderr ("no readable answer to
// RAST01, ..."), and says so when the port sent back what it was sent.
bool ReportUnread();

// Prints the differences on stdout. Returns kExitOk when the switcher holds the
// settings, kExitDiffers when it does not, or the read's failure (an error
// reply, a missing or unreadable answer).
int CompareWithSwitcher(const CRunSettings& run, CompareScope scope, DiffOutput output);
