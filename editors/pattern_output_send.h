// The output switching editor's send operations: OT (row 0, the direct
// switching), OTP (recall a stored memory) and TP (store a memory row).
#pragma once

#include "editors/send_step.h"

// Sends row 0 of g_nPattern as OT (the 切換え button with "None" selected).
void SendOutputs();
// Sends OTP for memory 1..64 (the 切換え button with a memory selected); any
// other number sends nothing (kNoSuchItem).
CStepResult SendMemoryRecall(int nMemory);
// Sends row nMemory (1..64) of g_nPattern as TP; any other number sends nothing
// (kNoSuchItem).
CStepResult SendMemoryPattern(int nMemory);
