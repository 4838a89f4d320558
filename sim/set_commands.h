// The set commands a switcher accepts. Each handler takes the command's body
// (the line without the RS-485 address and CR LF, tag included), checks every
// field against the switcher's model, and changes the state only when the
// whole line is valid; false means the line is refused.
#pragma once

#include <string_view>

#include "sim/switcher_state.h"

using SetHandler = bool (*)(std::string_view body, CSwitcherState& state);

// Applies whichever set command body is; false when it is none, or refused.
bool ApplySetCommand(std::string_view body, CSwitcherState& state);

// Output switching and auto-sequence: AST, OT, TP, OTP.
bool SetSeqPattern(std::string_view body, CSwitcherState& state);
bool SetOutputs(std::string_view body, CSwitcherState& state);
bool SetMemoryPattern(std::string_view body, CSwitcherState& state);
bool RecallMemory(std::string_view body, CSwitcherState& state);

// Titles and where they and the calendar are shown: CA, and CTI, CTO, CPI, TSI,
// TSO (one handler, told apart by the tag).
bool SetTitle(std::string_view body, CSwitcherState& state);
bool SetDisplaySwitch(std::string_view body, CSwitcherState& state);

// Clock, date format and slave address: DSY, DSM, DSD, TSH, TSM, TSS (one
// handler), TSA, TSD, SA.
bool SetClockField(std::string_view body, CSwitcherState& state);
bool Adjust30Sec(std::string_view body, CSwitcherState& state);
bool SetDateFormat(std::string_view body, CSwitcherState& state);
bool SetSlaveAddress(std::string_view body, CSwitcherState& state);
