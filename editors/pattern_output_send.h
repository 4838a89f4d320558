// The output switching editor's send operations: OT (row 0, the direct
// switching), OTP (recall a stored memory) and TP (store a memory row).
#pragma once

#include <string>

#include "editors/send_step.h"
#include "protocol/table_shapes.h"

// The line that stores row nRow of the table as row: OT for row 0 (the direct
// switching), TP for a memory 1..64; read with the model in force. Empty for
// any other row.
std::string PatternRowLine(int nRow, const OutputRow& row);

// Sends row 0 of g_nPattern as OT (the 切換え button with "None" selected).
void SendOutputs();
// Sends OTP for memory 1..64 (the 切換え button with a memory selected); any
// other number sends nothing (kNoSuchItem).
CStepResult SendMemoryRecall(int nMemory);
// Sends row nMemory (1..64) of g_nPattern as TP; any other number sends nothing
// (kNoSuchItem).
CStepResult SendMemoryPattern(int nMemory);
