#include "protocol/read_lines.h"

#include "protocol/fields.h"
#include "protocol/table_shapes.h"

namespace {

constexpr char kReadPrefix = 'R';
constexpr DataLine kLastDataLine = DataLine::kDateFormat;

int HighestNumber(DataLine item, int nInputs) {
    return item == DataLine::kTitle ? nInputs : kPatterns;
}

std::optional<CReadRequest> ParseAs(DataLine item, std::string_view rest, int nInputs) {
    const std::string_view tag = DataLineTag(item);
    if (!rest.starts_with(tag)) return std::nullopt;
    if (!IsNumberedDataLine(item)) {
        if (rest.size() != tag.size()) return std::nullopt;
        return CReadRequest{item, 0};
    }
    if (rest.size() != tag.size() + 2) return std::nullopt;
    const std::optional<int> number =
        NumberField(rest, tag.size(), 1, HighestNumber(item, nInputs));
    if (!number) return std::nullopt;
    return CReadRequest{item, *number};
}

}  // namespace

std::string FormatReadCommand(const CReadRequest& request) {
    std::string line(1, kReadPrefix);
    line += DataLineTag(request.item);
    if (IsNumberedDataLine(request.item)) AppendTwoDigits(line, request.nNumber);
    line += "\r\n";
    return line;
}

std::optional<CReadRequest> ParseReadCommand(std::string_view body, int nInputs) {
    if (body.empty() || body.front() != kReadPrefix) return std::nullopt;
    body.remove_prefix(1);
    for (int i = 0; i <= static_cast<int>(kLastDataLine); ++i) {
        if (auto request = ParseAs(static_cast<DataLine>(i), body, nInputs)) return request;
    }
    return std::nullopt;
}
