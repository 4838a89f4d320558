#include "protocol/fields.h"

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string_view LineBody(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool FitsLayout(std::string_view body, std::size_t size, FieldRule rule) {
    return rule == FieldRule::kStrict ? body.size() == size : body.size() >= size;
}

std::optional<int> TwoDigitValue(char tens, char units) {
    if (!IsDigit(tens) || !IsDigit(units)) return std::nullopt;
    return 10 * (tens - '0') + (units - '0');
}

std::optional<int> HexByteValue(char high, char low) {
    const int h = HexDigitValue(high);
    const int l = HexDigitValue(low);
    if (h < 0 || l < 0) return std::nullopt;
    return h * 16 + l;
}

std::optional<int> PairAt(std::string_view body, std::size_t at) {
    if (at + 2 > body.size()) return std::nullopt;
    return TwoDigitValue(body[at], body[at + 1]);
}

std::optional<int> NumberField(std::string_view body, std::size_t at, int lo, int hi) {
    const std::optional<int> value = PairAt(body, at);
    if (!value || *value < lo || *value > hi) return std::nullopt;
    return value;
}

std::optional<int> HexCodeAt(std::string_view body, std::size_t at) {
    if (at + 4 > body.size()) return std::nullopt;
    const std::optional<int> high = HexByteValue(body[at], body[at + 1]);
    const std::optional<int> low = HexByteValue(body[at + 2], body[at + 3]);
    if (!high || !low) return std::nullopt;
    return (*high << 8) | *low;
}

void AppendTwoDigits(std::string& line, int value) {
    value %= 100;
    if (value < 0) value += 100;
    line += static_cast<char>('0' + value / 10);
    line += static_cast<char>('0' + value % 10);
}

std::string TwoDigits(int value) {
    std::string text;
    AppendTwoDigits(text, value);
    return text;
}

void AppendHex4(std::string& line, unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) line += kDigits[(code >> shift) & 0xF];
}

std::string SourceCodeText(int nCode, int nInputs) {
    if (nCode < nInputs) return "I" + TwoDigits(nCode + 1);
    return "A" + TwoDigits(nCode - nInputs + 1);
}

std::optional<int> SourceField(std::string_view body, std::size_t at, int nInputs, FieldRule rule) {
    if (at + 3 > body.size()) return std::nullopt;
    const char kind = body[at];
    if (kind == 'I') {
        const std::optional<int> channel = NumberField(body, at + 1, 1, nInputs);
        if (!channel) return std::nullopt;
        return *channel - 1;
    }
    if (kind != 'A' && rule == FieldRule::kStrict) return std::nullopt;
    const std::optional<int> pattern = NumberField(body, at + 1, 1, kPatterns);
    if (!pattern) return std::nullopt;
    return nInputs + *pattern - 1;
}

std::optional<OutputRow> SourceFields(std::string_view body, std::size_t at, int nInputs,
                                      FieldRule rule) {
    OutputRow row{};
    for (std::size_t out = 0; out < row.size(); ++out) {
        const std::optional<int> code = SourceField(body, at + 3 * out, nInputs, rule);
        if (!code) return std::nullopt;
        row[out] = *code;
    }
    return row;
}

std::optional<int> FlagValue(char c, char chOff, char chOn, FieldRule rule) {
    if (c == chOff) return 0;
    if (c == chOn || rule == FieldRule::kLenient) return 1;
    return std::nullopt;
}
