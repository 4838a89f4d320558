// The switcher's memory kept between runs as a settings file, in the program's
// own .dat format. The direct row, the recalled memory, the clock and the
// slave address are not in the file.
#pragma once

#include <string>

#include "sim/switcher_state.h"

// Replaces the file's tables in state; the switcher keeps its own model. False,
// and state untouched, when the file cannot be read, holds a bad value, or
// routes an output to a source the model does not have.
bool LoadSwitcherState(const std::string& path, CSwitcherState& state);

bool SaveSwitcherState(const std::string& path, const CSwitcherState& state);
