#include "editors/auto_sequence_send.h"

#include <algorithm>

#include "editors/two_digits.h"
#include "link/transmitter.h"

namespace {

// A time the lists cannot offer (only a hand-edited model holds one) goes out
// as the nearest valid time rather than wrapping into another field value.
int TimeOnWire(int time) {
    return std::clamp(time, 0, kMaxSeqTime);
}

int ChannelsInUse(int nChannels) {
    return std::clamp(nChannels, 0, kMaxInputs);
}

}  // namespace

std::string FormatSeqPatternLine(int nPattern, const InputTable& times, int nChannels) {
    const int count = ChannelsInUse(nChannels);
    std::string line = "AST";
    line.reserve(7 + 2 * static_cast<size_t>(count));
    AppendTwoDigits(line, nPattern + 1);
    for (int c = 0; c < count; ++c) AppendTwoDigits(line, TimeOnWire(times[c]));
    line += "\r\n";
    return line;
}

bool IsAllSkip(const InputTable& times, int nChannels) {
    const int count = ChannelsInUse(nChannels);
    return std::none_of(times.begin(), times.begin() + count,
                        [](int time) { return TimeOnWire(time) != 0; });
}

int SendSequencePattern(int nPattern) {
    if (nPattern < 0 || nPattern >= kPatterns) return -1;
    const InputTable& times = g_nSeqTime[nPattern];
    const int count = InputChannelCount();
    if (IsAllSkip(times, count)) return 1;
    SendCommand(FormatSeqPatternLine(nPattern, times, count));
    return 0;
}

CStepResult SequencePatternStep(int nPattern) {
    if (SendSequencePattern(nPattern) == 1) return CStepResult::Refused(kAllSkipWarning);
    return {};
}
