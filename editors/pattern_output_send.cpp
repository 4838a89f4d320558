#include "editors/pattern_output_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/routing_lines.h"

namespace {

bool IsMemory(int nMemory) {
    return nMemory >= 1 && nMemory < kPatternRows;
}

}  // namespace

std::string PatternRowLine(int nRow, const OutputRow& row) {
    if (nRow == 0) return FormatOutputsLine(row, InputChannelCount());
    if (!IsMemory(nRow)) return {};
    return FormatMemoryPatternLine(nRow, row, InputChannelCount());
}

void SendOutputs() {
    SendCommand(PatternRowLine(0, g_nPattern[0]));
}

CStepResult SendMemoryRecall(int nMemory) {
    if (!IsMemory(nMemory)) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(FormatMemoryRecallLine(nMemory));
    return {};
}

CStepResult SendMemoryPattern(int nMemory) {
    if (!IsMemory(nMemory)) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(PatternRowLine(nMemory, g_nPattern[nMemory]));
    return {};
}
