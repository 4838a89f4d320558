#include "editors/auto_sequence_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/sequence_lines.h"

int SendSequencePattern(int nPattern) {
    if (nPattern < 0 || nPattern >= kPatterns) return -1;
    const InputTable& times = g_nSeqTime[nPattern];
    const int count = InputChannelCount();
    if (IsAllSkip(times, count)) return 1;
    SendCommand(FormatSeqPatternLine(nPattern, times, count));
    return 0;
}

CStepResult SequencePatternStep(int nPattern) {
    switch (SendSequencePattern(nPattern)) {
        case 0:
            return {};
        case 1:
            return CStepResult::Refused(SendRefusal::kAllSkip);
        default:
            return CStepResult::Refused(SendRefusal::kNoSuchItem);
    }
}
