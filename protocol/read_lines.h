// The read commands of the maintenance read-back: RASTnn, RTPnn, RCPI, RCTI,
// RCTO, ROT, ROTP, RTSI, RTSO, RTSD, RCAnn. Each asks for one data line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/data_lines.h"

struct CReadRequest {
    DataLine item = DataLine::kSeqPattern;  // the data line asked for
    int nNumber = 0;  // pattern or memory 1..64, channel 1..nInputs; 0 for the others

    bool operator==(const CReadRequest&) const = default;
};

// "R", the data line's tag, the number as two digits where the tag takes one,
// CR LF.
std::string FormatReadCommand(const CReadRequest& request);

// Body: the line without its RS-485 address and its line end; exactly one of
// the read commands, with a pattern or memory 01..64 or a channel 01..nInputs.
std::optional<CReadRequest> ParseReadCommand(std::string_view body, int nInputs);
