// The step lists of every timed send: what step k sends, how many steps there
// are, and each cycle's timer id and period.
#pragma once

#include <optional>
#include <string>

#include "batch/send_cycle.h"
#include "protocol/read_lines.h"

// The editors' All set.
CStepList AutoSequenceSteps();   // 64 patterns, AST01..AST64; timer 2, 250 ms
CStepList MemoryPatternSteps();  // 64 memories, TP01..TP64; timer 6, 250 ms
CStepList TitleSteps();          // every input channel in use, CA01..; timer 4, 250 ms

// The all-items transmission: 64 AST, 64 TP, CTI, CTO, CPI, TSI, TSO, then the
// title of every input channel in use: N + 133 steps; timer 7, 300 ms.
CStepList AllItemsSteps();

// The maintenance read-back: T = 32 x model + 168 read commands, ending on
// tick T + 1; timer 8, 300 ms. The answers land in a copy of the model's
// tables (Link().ReadCopy()), which ApplyReadCopy puts into the model.
CStepList ReadBackSteps();
// The same commands for a compare, whose copy is compared with the model.
CStepList CompareReadSteps();
int ReadBackStepCount(int nInputs);
// What step k (1..T) reads; nothing for any other k.
std::optional<CReadRequest> ReadBackRequest(int k, int nInputs);
// The read command of step k (1..T), CR LF included; empty for any other k.
std::string ReadBackCommand(int k, int nInputs);
// The percentage shown for step k: k x 100 div T.
int ReadBackPercent(int k, int nSteps);
