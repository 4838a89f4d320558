#include "cli/utf8_text.h"

#include <algorithm>
#include <iterator>

namespace {

struct CRange {
    char32_t lo, hi;
};

// East Asian Wide and Fullwidth, in blocks; enough for Japanese, Chinese,
// Korean and the common emoji.
constexpr CRange kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},
    {0x26C4, 0x26C5},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F5},
    {0x26FA, 0x26FD},   {0x2705, 0x2705},   {0x274C, 0x274C},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x3096},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

// Combining marks (the kana voicing marks of decomposed file names among
// them) and the zero-width characters.
constexpr CRange kZeroWidth[] = {
    {0x0300, 0x036F}, {0x200B, 0x200F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF},
};

template <size_t N>
bool InRanges(const CRange (&ranges)[N], char32_t code) {
    return std::any_of(std::begin(ranges), std::end(ranges),
                       [code](const CRange& r) { return code >= r.lo && code <= r.hi; });
}

}  // namespace

CUtf8Char FirstUtf8Char(std::string_view text) {
    if (text.empty()) return {};
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return {lead, 1, true};
    const CUtf8Char invalid{0xFFFD, 1, false};
    size_t n = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4, code = lead & 0x07;
    } else {
        return invalid;
    }
    if (text.size() < n) return invalid;
    for (size_t i = 1; i < n; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return invalid;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[n] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return invalid;
    return {code, n, true};
}

int CharColumns(char32_t code) {
    if (InRanges(kZeroWidth, code)) return 0;
    return InRanges(kWide, code) ? 2 : 1;
}

int DisplayWidth(std::string_view text) {
    int columns = 0;
    while (!text.empty()) {
        const CUtf8Char c = FirstUtf8Char(text);
        columns += c.bValid ? CharColumns(c.code) : 1;
        text.remove_prefix(c.nBytes);
    }
    return columns;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const CUtf8Char c = FirstUtf8Char(text);
        if (c.bValid) {
            out += text.substr(0, c.nBytes);
        } else {
            out += kReplacementChar;
        }
        text.remove_prefix(c.nBytes);
    }
    return out;
}
