// The read commands: each is answered with a data line in the layout of the
// matching set command, CR LF included.
#pragma once

#include <string>

#include "protocol/read_lines.h"
#include "sim/switcher_state.h"

std::string AnswerRead(const CReadRequest& request, const CSwitcherState& state);
