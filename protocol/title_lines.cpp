#include "protocol/title_lines.h"

#include "protocol/fields.h"

namespace {

constexpr std::string_view kTag = "CA";
constexpr std::size_t kFirstCode = 4;

std::optional<CTitleLine> Parse(std::string_view body, int nInputs, FieldRule rule) {
    if (!body.starts_with(kTag) || !FitsLayout(body, kFirstCode + 4 * kTitleChars, rule)) {
        return std::nullopt;
    }
    const std::optional<int> channel = NumberField(body, kTag.size(), 1, nInputs);
    if (!channel) return std::nullopt;
    JisCodes codes{};
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const std::optional<int> code = HexCodeAt(body, kFirstCode + 4 * k);
        if (!code) return std::nullopt;
        codes[k] = static_cast<unsigned>(*code);
    }
    if (rule == FieldRule::kStrict && CheckJisCodes(codes) != 0) return std::nullopt;
    return CTitleLine{*channel - 1, TitleText(codes)};
}

}  // namespace

std::string FormatTitleLine(int nChannel, const JisCodes& codes) {
    std::string line(kTag);
    line.reserve(kFirstCode + 4 * kTitleChars + 2);
    AppendTwoDigits(line, nChannel + 1);
    for (unsigned code : codes) AppendHex4(line, code);
    line += "\r\n";
    return line;
}

std::string FormatTitleTextLine(int nChannel, std::string_view title) {
    return FormatTitleLine(nChannel, TitleCodes(title));
}

std::optional<CTitleLine> ParseTitleCommand(std::string_view body, int nInputs) {
    return Parse(body, nInputs, FieldRule::kStrict);
}

std::optional<CTitleLine> ParseTitleData(std::string_view body, int nInputs) {
    return Parse(body, nInputs, FieldRule::kLenient);
}
