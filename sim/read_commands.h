// The read commands: each answers with a data line in the layout of the
// matching set command (CR LF included), or nothing when the request is
// malformed. body is the line without the RS-485 address and CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/switcher_state.h"

using ReadHandler = std::optional<std::string> (*)(std::string_view body,
                                                   const CSwitcherState& state);

std::optional<std::string> ReadSeqPattern(std::string_view body, const CSwitcherState& state);
std::optional<std::string> ReadMemoryPattern(std::string_view body, const CSwitcherState& state);
std::optional<std::string> ReadOutputs(std::string_view body, const CSwitcherState& state);
std::optional<std::string> ReadCurMemory(std::string_view body, const CSwitcherState& state);
std::optional<std::string> ReadTitle(std::string_view body, const CSwitcherState& state);
// RCPI, RCTI, RCTO, RTSI, RTSO, told apart by the tag.
std::optional<std::string> ReadDisplaySwitch(std::string_view body, const CSwitcherState& state);
std::optional<std::string> ReadDateFormat(std::string_view body, const CSwitcherState& state);
