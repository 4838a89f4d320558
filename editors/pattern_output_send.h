// The output switching commands: OT (row 0, the direct switching), OTP (recall
// a stored memory) and TP (store a memory row).
#pragma once

#include <string>

#include "model/settings_model.h"

// A source code as shown and sent: "I01".."I64" for an input (code < nInputs),
// "A01".."A64" for an auto-sequence pattern (code - nInputs + 1).
std::string SourceCodeText(int nCode, int nInputs);

// "OT" and 32 source codes, CR LF: 100 bytes.
std::string FormatOutputsLine(const OutputRow& row, int nInputs);
// "TP", the memory number as two digits, 32 source codes, CR LF: 102 bytes.
std::string FormatMemoryPatternLine(int nMemory, const OutputRow& row, int nInputs);
// "OTP", the memory number as two digits, CR LF: 7 bytes.
std::string FormatMemoryRecallLine(int nMemory);

// Sends row 0 of g_nPattern as OT (the 切換え button with "None" selected).
void SendOutputs();
// Sends OTP for memory 1..64 (the 切換え button with a memory selected); any
// other number sends nothing.
void SendMemoryRecall(int nMemory);
// Sends row nMemory (1..64) of g_nPattern as TP; any other number sends nothing.
void SendMemoryPattern(int nMemory);
