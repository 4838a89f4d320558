// Decoders of the switcher's data lines: the line is parsed whole for the
// model in force, then applied to a set of settings (the program's, unless a
// compare or read-back reads into a copy). Each takes the line after any
// RS-485 prefix and returns whether it changed the settings: a line whose
// number fields are not digits, whose channel, pattern or row is out of range,
// or that is shorter than its layout is ignored whole.
#pragma once

#include <string_view>

#include "model/settings_tables.h"
#include "protocol/data_lines.h"

// Into the program's settings, one per kind: a convenience; the interpreter calls DecodeDataLine.
bool DecodeSeqTimes(std::string_view line);         // "AST" pp, n decimal pairs
bool DecodeTitle(std::string_view line);            // "CA" cc, 64 hex digits
bool DecodeTitlePositions(std::string_view line);   // "CPI", n flags ('T' = Top)
bool DecodeInTitleDisp(std::string_view line);      // "CTI", n flags ('F' = OFF)
bool DecodeOutTitleDisp(std::string_view line);     // "CTO", 32 flags
bool DecodeCurMemory(std::string_view line);        // "OTP" mm
bool DecodeOutputs(std::string_view line);          // "OT", 32 source fields
bool DecodePattern(std::string_view line);          // "TP" pp, 32 source fields
bool DecodeInCalendarDisp(std::string_view line);   // "TSI", n flags
bool DecodeOutCalendarDisp(std::string_view line);  // "TSO", 32 flags
bool DecodeDateFormat(std::string_view line);       // "TSD" and 'Y', 'M' or other

// A data line of the given kind into tables (the program's or a copy).
bool DecodeDataLineInto(DataLine kind, std::string_view line, CSettingsTables& tables);
// A data line of the given kind where the link's reads land now (Link().ReadCopy()).
bool DecodeDataLine(DataLine kind, std::string_view line);
