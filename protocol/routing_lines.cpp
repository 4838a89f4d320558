#include "protocol/routing_lines.h"

#include "protocol/fields.h"

namespace {

constexpr std::string_view kOutputsTag = "OT";
constexpr std::string_view kMemoryTag = "TP";
constexpr std::string_view kRecallTag = "OTP";
constexpr std::size_t kSourcesLength = 3 * kOutputs;

void AppendSourceCodes(std::string& line, const OutputRow& row, int nInputs) {
    for (int code : row) line += SourceCodeText(code, nInputs);
}

std::optional<OutputRow> ParseOutputs(std::string_view body, int nInputs, FieldRule rule) {
    const std::size_t first = kOutputsTag.size();
    if (!body.starts_with(kOutputsTag) || !FitsLayout(body, first + kSourcesLength, rule)) {
        return std::nullopt;
    }
    return SourceFields(body, first, nInputs, rule);
}

std::optional<CMemoryPattern> ParseMemoryPattern(std::string_view body, int nInputs,
                                                 FieldRule rule) {
    const std::size_t first = kMemoryTag.size() + 2;
    if (!body.starts_with(kMemoryTag) || !FitsLayout(body, first + kSourcesLength, rule)) {
        return std::nullopt;
    }
    const std::optional<int> memory = NumberField(body, kMemoryTag.size(), 1, kPatterns);
    auto row = SourceFields(body, first, nInputs, rule);
    if (!memory || !row) return std::nullopt;
    return CMemoryPattern{*memory, *row};
}

std::optional<int> ParseRecall(std::string_view body, int nLowest, FieldRule rule) {
    if (!body.starts_with(kRecallTag) || !FitsLayout(body, kRecallTag.size() + 2, rule)) {
        return std::nullopt;
    }
    return NumberField(body, kRecallTag.size(), nLowest, kPatterns);
}

}  // namespace

std::string FormatOutputsLine(const OutputRow& row, int nInputs) {
    std::string line(kOutputsTag);
    line.reserve(kOutputsTag.size() + kSourcesLength + 2);
    AppendSourceCodes(line, row, nInputs);
    line += "\r\n";
    return line;
}

std::string FormatMemoryPatternLine(int nMemory, const OutputRow& row, int nInputs) {
    std::string line(kMemoryTag);
    line.reserve(kMemoryTag.size() + 2 + kSourcesLength + 2);
    AppendTwoDigits(line, nMemory);
    AppendSourceCodes(line, row, nInputs);
    line += "\r\n";
    return line;
}

std::string FormatMemoryRecallLine(int nMemory) {
    return std::string(kRecallTag) + TwoDigits(nMemory) + "\r\n";
}

std::optional<OutputRow> ParseOutputsCommand(std::string_view body, int nInputs) {
    return ParseOutputs(body, nInputs, FieldRule::kStrict);
}

std::optional<OutputRow> ParseOutputsData(std::string_view body, int nInputs) {
    return ParseOutputs(body, nInputs, FieldRule::kLenient);
}

std::optional<CMemoryPattern> ParseMemoryPatternCommand(std::string_view body, int nInputs) {
    return ParseMemoryPattern(body, nInputs, FieldRule::kStrict);
}

std::optional<CMemoryPattern> ParseMemoryPatternData(std::string_view body, int nInputs) {
    return ParseMemoryPattern(body, nInputs, FieldRule::kLenient);
}

std::optional<int> ParseMemoryRecallCommand(std::string_view body) {
    return ParseRecall(body, 1, FieldRule::kStrict);
}

std::optional<int> ParseCurMemoryData(std::string_view body) {
    return ParseRecall(body, 0, FieldRule::kLenient);
}
