#include "protocol/calendar_lines.h"

#include <iterator>

#include "protocol/fields.h"

namespace {

constexpr std::size_t kTagLength = 3;
constexpr std::string_view kAdjustTag = "TSA";
constexpr std::string_view kDateFormatTag = "TSD";
constexpr std::string_view kDateFormatLetters = "YMD";

struct CClockFormat {
    std::string_view tag;
    CClockRange range;
};

// In the order of ClockField.
constexpr CClockFormat kClockFormats[] = {
    {"DSY", {0, 99}}, {"DSM", {1, 12}}, {"DSD", {1, 31}},
    {"TSH", {0, 23}}, {"TSM", {0, 59}}, {"TSS", {0, 59}},
};

const CClockFormat& FormatOf(ClockField field) {
    return kClockFormats[static_cast<int>(field)];
}

}  // namespace

CClockRange ClockFieldRange(ClockField field) {
    return FormatOf(field).range;
}

std::string FormatClockLine(ClockField field, int nValue) {
    const CClockFormat& format = FormatOf(field);
    if (nValue < format.range.nLow || nValue > format.range.nHigh) return "";
    return std::string(format.tag) + TwoDigits(nValue) + "\r\n";
}

std::string FormatAdjust30SecLine() {
    return std::string(kAdjustTag) + "\r\n";
}

std::string FormatDateFormatLine(int nFormat) {
    if (nFormat < 0 || nFormat >= static_cast<int>(kDateFormatLetters.size())) return "";
    return std::string(kDateFormatTag) + kDateFormatLetters[nFormat] + "\r\n";
}

std::optional<CClockSetting> ParseClockCommand(std::string_view body) {
    if (body.size() != kTagLength + 2) return std::nullopt;
    for (int i = 0; i < static_cast<int>(std::size(kClockFormats)); ++i) {
        const CClockFormat& format = kClockFormats[i];
        if (!body.starts_with(format.tag)) continue;
        const std::optional<int> value =
            NumberField(body, kTagLength, format.range.nLow, format.range.nHigh);
        if (!value) return std::nullopt;
        return CClockSetting{static_cast<ClockField>(i), *value};
    }
    return std::nullopt;
}

bool ParseAdjust30SecCommand(std::string_view body) {
    return body == kAdjustTag;
}

std::optional<int> ParseDateFormatCommand(std::string_view body) {
    if (!body.starts_with(kDateFormatTag) || body.size() != kTagLength + 1) return std::nullopt;
    const std::size_t format = kDateFormatLetters.find(body[kTagLength]);
    if (format == std::string_view::npos) return std::nullopt;
    return static_cast<int>(format);
}

std::optional<int> ParseDateFormatData(std::string_view body) {
    if (!body.starts_with(kDateFormatTag) || body.size() < kTagLength + 1) return std::nullopt;
    const char letter = body[kTagLength];
    return letter == 'Y' ? 0 : letter == 'M' ? 1 : 2;
}
