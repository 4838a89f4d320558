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

void SendMemoryRecall(int nMemory) {
    if (IsMemory(nMemory)) SendCommand(FormatMemoryRecallLine(nMemory));
}

void SendMemoryPattern(int nMemory) {
    if (!IsMemory(nMemory)) return;
    SendCommand(FormatMemoryPatternLine(nMemory, g_nPattern[nMemory], InputChannelCount()));
}
