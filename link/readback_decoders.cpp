#include "link/readback_decoders.h"

#include <array>
#include <optional>
#include <string>

#include "link/field_codes.h"
#include "link/jis_code.h"
#include "model/settings_model.h"

namespace {

constexpr int kIdeographicSpace = 0x2121;
constexpr int kTitleCodes = 16;

// One flag character per entry from offset 3; zeroChar means 0, anything else 1.
template <size_t N>
bool DecodeFlags(std::string_view line, size_t count, char zeroChar, std::array<int, N>& table) {
    std::string_view body = LineBody(line);
    if (count > N || body.size() < 3 + count) return false;
    for (size_t i = 0; i < count; ++i) table[i] = (body[3 + i] == zeroChar) ? 0 : 1;
    return true;
}

// The decimal pair at offset, or -1.
int PairAt(std::string_view body, size_t offset) {
    return offset + 2 <= body.size() ? TwoDigitValue(body[offset], body[offset + 1]) : -1;
}

// 32 source fields of a kind letter and a pair from offset: 'I' is input
// channel pair, any other letter pattern pair (numbered after the inputs).
std::optional<OutputRow> SourceFields(std::string_view body, size_t offset) {
    const int n = InputChannelCount();
    OutputRow row{};
    for (int out = 0; out < kOutputs; ++out) {
        size_t at = offset + 3 * static_cast<size_t>(out);
        if (at + 3 > body.size()) return std::nullopt;
        int pair = TwoDigitValue(body[at + 1], body[at + 2]);
        bool input = body[at] == 'I';
        if (pair < 1 || pair > (input ? n : kPatterns)) return std::nullopt;
        row[out] = input ? pair - 1 : pair - 1 + n;
    }
    return row;
}

// The title text of 16 JIS codes: trailing ideographic spaces dropped, and a
// code that has no Shift_JIS form ends the text.
std::string TitleFromJisCodes(const std::array<int, kTitleCodes>& codes) {
    int used = kTitleCodes;
    while (used > 0 && codes[used - 1] == kIdeographicSpace) --used;
    std::string title;
    for (int k = 0; k < used; ++k) {
        int sjis = JisToShiftJis(codes[k]);
        if (sjis == 0) break;
        title += static_cast<char>(sjis >> 8);
        title += static_cast<char>(sjis & 0xFF);
    }
    return title;
}

}  // namespace

bool DecodeSeqTimes(std::string_view line) {
    std::string_view body = LineBody(line);
    const int n = InputChannelCount();
    int pattern = PairAt(body, 3);
    if (pattern < 1 || pattern > kPatterns) return false;
    InputTable times = g_nSeqTime[pattern - 1];
    for (int i = 0; i < n; ++i) {
        int time = PairAt(body, 5 + 2 * static_cast<size_t>(i));
        if (time < 0 || time > kMaxSeqTime) return false;
        times[i] = time;
    }
    g_nSeqTime[pattern - 1] = times;
    return true;
}

bool DecodeTitle(std::string_view line) {
    std::string_view body = LineBody(line);
    int channel = PairAt(body, 2);
    if (channel < 1 || channel > InputChannelCount() || body.size() < 4 + 4 * kTitleCodes) {
        return false;
    }
    std::array<int, kTitleCodes> codes{};
    for (int k = 0; k < kTitleCodes; ++k) {
        size_t at = 4 + 4 * static_cast<size_t>(k);
        int high = HexByteValue(body[at], body[at + 1]);
        int low = HexByteValue(body[at + 2], body[at + 3]);
        if (high < 0 || low < 0) return false;
        codes[k] = (high << 8) | low;
    }
    g_strTitle[channel - 1] = TitleFromJisCodes(codes);
    return true;
}

bool DecodeTitlePositions(std::string_view line) {
    return DecodeFlags(line, static_cast<size_t>(InputChannelCount()), 'T', g_nTitlePosition);
}

bool DecodeInTitleDisp(std::string_view line) {
    return DecodeFlags(line, static_cast<size_t>(InputChannelCount()), 'F', g_nInTitleDisp);
}

bool DecodeOutTitleDisp(std::string_view line) {
    return DecodeFlags(line, kOutputs, 'F', g_nOutTitleDisp);
}

bool DecodeCurMemory(std::string_view line) {
    int memory = PairAt(LineBody(line), 3);
    if (memory < 0 || memory >= kPatternRows) return false;
    g_nCurMemory = memory;  // "00" is row 0, the direct-switching row
    return true;
}

bool DecodeOutputs(std::string_view line) {
    auto row = SourceFields(LineBody(line), 2);
    if (!row) return false;
    g_nPattern[0] = *row;
    return true;
}

bool DecodePattern(std::string_view line) {
    std::string_view body = LineBody(line);
    int memory = PairAt(body, 2);
    auto row = SourceFields(body, 4);
    if (memory < 1 || memory >= kPatternRows || !row) return false;
    g_nPattern[memory] = *row;
    return true;
}

bool DecodeInCalendarDisp(std::string_view line) {
    return DecodeFlags(line, static_cast<size_t>(InputChannelCount()), 'F', g_nInCalendarDisp);
}

bool DecodeOutCalendarDisp(std::string_view line) {
    return DecodeFlags(line, kOutputs, 'F', g_nOutCalendarDisp);
}

bool DecodeDateFormat(std::string_view line) {
    std::string_view body = LineBody(line);
    if (body.size() < 4) return false;
    g_nDateFormat = body[3] == 'Y' ? 0 : body[3] == 'M' ? 1 : 2;
    return true;
}
