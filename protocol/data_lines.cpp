#include "protocol/data_lines.h"

#include <iterator>

namespace {

// In the order of DataLine.
constexpr std::string_view kTags[] = {"AST", "CA", "CPI", "CTI", "CTO", "OTP",
                                      "OT",  "TP", "TSI", "TSO", "TSD"};

}  // namespace

std::string_view DataLineTag(DataLine line) {
    return kTags[static_cast<int>(line)];
}

bool IsNumberedDataLine(DataLine line) {
    return line == DataLine::kSeqPattern || line == DataLine::kTitle ||
           line == DataLine::kMemoryPattern;
}

std::optional<DataLine> DataLineOf(std::string_view work) {
    for (int i = 0; i < static_cast<int>(std::size(kTags)); ++i) {
        if (work.starts_with(kTags[i])) return static_cast<DataLine>(i);
    }
    return std::nullopt;
}
