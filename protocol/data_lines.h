// The data lines the switcher answers read commands with. Each starts with the
// tag of the set command whose layout it has; a read command is "R" and that
// tag, with the two-digit pattern, memory or channel number where the tag
// takes one.
#pragma once

#include <optional>
#include <string_view>

// In the order a reply is tried against the tags: "OTP" before "OT", so that a
// memory-number line is not taken for an output line.
enum class DataLine {
    kSeqPattern,       // AST
    kTitle,            // CA
    kTitlePositions,   // CPI
    kInTitleDisp,      // CTI
    kOutTitleDisp,     // CTO
    kCurMemory,        // OTP
    kOutputs,          // OT
    kMemoryPattern,    // TP
    kInCalendarDisp,   // TSI
    kOutCalendarDisp,  // TSO
    kDateFormat,       // TSD
};

std::string_view DataLineTag(DataLine line);

// Whether the tag is followed by a two-digit number (AST, CA and TP).
bool IsNumberedDataLine(DataLine line);

// The data line work starts like, trying the tags in order; nothing when none.
std::optional<DataLine> DataLineOf(std::string_view work);
