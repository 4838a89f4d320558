#include "editors/pattern_output_send.h"

#include "editors/two_digits.h"
#include "link/transmitter.h"

namespace {

bool IsMemory(int nMemory) {
    return nMemory >= 1 && nMemory < kPatternRows;
}

void AppendSourceCodes(std::string& line, const OutputRow& row, int nInputs) {
    for (int code : row) line += SourceCodeText(code, nInputs);
}

}  // namespace

std::string SourceCodeText(int nCode, int nInputs) {
    if (nCode < nInputs) return "I" + TwoDigits(nCode + 1);
    return "A" + TwoDigits(nCode - nInputs + 1);
}

std::string FormatOutputsLine(const OutputRow& row, int nInputs) {
    std::string line = "OT";
    line.reserve(100);
    AppendSourceCodes(line, row, nInputs);
    line += "\r\n";
    return line;
}

std::string FormatMemoryPatternLine(int nMemory, const OutputRow& row, int nInputs) {
    std::string line = "TP";
    line.reserve(102);
    AppendTwoDigits(line, nMemory);
    AppendSourceCodes(line, row, nInputs);
    line += "\r\n";
    return line;
}

std::string FormatMemoryRecallLine(int nMemory) {
    return "OTP" + TwoDigits(nMemory) + "\r\n";
}

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
