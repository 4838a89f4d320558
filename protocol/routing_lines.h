// Output switching: OT (the direct switching, row 0), TP (store a memory row)
// and OTP (recall a memory). The switcher answers ROT, RTPnn and ROTP with
// the same layouts; its answer to ROTP is "OTP00" while no memory is recalled.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/table_shapes.h"

struct CMemoryPattern {
    int nMemory = 0;  // 1..64
    OutputRow row{};  // source codes, output 1 first

    bool operator==(const CMemoryPattern&) const = default;
};

// "OT" and 32 source codes, CR LF: 100 bytes.
std::string FormatOutputsLine(const OutputRow& row, int nInputs);
// "TP", the memory number as two digits, 32 source codes, CR LF: 102 bytes.
std::string FormatMemoryPatternLine(int nMemory, const OutputRow& row, int nInputs);
// "OTP", the memory number as two digits, CR LF: 7 bytes.
std::string FormatMemoryRecallLine(int nMemory);

// Body: the line without its RS-485 address and its line end. Commands must
// have exactly the layout with sources 'I' 01..nInputs or 'A' 01..64; data
// lines may run on, and take any kind letter but 'I' as a pattern.
std::optional<OutputRow> ParseOutputsCommand(std::string_view body, int nInputs);
std::optional<OutputRow> ParseOutputsData(std::string_view body, int nInputs);
std::optional<CMemoryPattern> ParseMemoryPatternCommand(std::string_view body, int nInputs);
std::optional<CMemoryPattern> ParseMemoryPatternData(std::string_view body, int nInputs);
// The memory to recall, 1..64.
std::optional<int> ParseMemoryRecallCommand(std::string_view body);
// The memory the switcher has recalled: 0 (none; the direct row) to 64.
std::optional<int> ParseCurMemoryData(std::string_view body);
