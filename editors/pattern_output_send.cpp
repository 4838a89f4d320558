#include "editors/pattern_output_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/routing_lines.h"

namespace {

bool IsMemory(int nMemory) {
    return nMemory >= 1 && nMemory < kPatternRows;
}

}  // namespace

void SendOutputs() {
    SendCommand(FormatOutputsLine(g_nPattern[0], InputChannelCount()));
}

CStepResult SendMemoryRecall(int nMemory) {
    if (!IsMemory(nMemory)) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(FormatMemoryRecallLine(nMemory));
    return {};
}

CStepResult SendMemoryPattern(int nMemory) {
    if (!IsMemory(nMemory)) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(FormatMemoryPatternLine(nMemory, g_nPattern[nMemory], InputChannelCount()));
    return {};
}
