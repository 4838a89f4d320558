#include "protocol/jis_ranges.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::size_t kRangeCount = 86;
using RangeTable = std::array<CJisRange, kRangeCount>;

// Rows 1..8 leave cells unassigned, so they take several ranges each.
constexpr CJisRange kNonKanji[] = {
    {0x2121, 0x217E},                                      // row 1
    {0x2221, 0x222E}, {0x223A, 0x2241}, {0x224A, 0x2250},  // row 2
    {0x225C, 0x226A}, {0x2272, 0x2279}, {0x227E, 0x227E},
    {0x2330, 0x2339}, {0x2341, 0x235A}, {0x2361, 0x237A},  // row 3: digits, Latin
    {0x2421, 0x2473},                                      // row 4: hiragana
    {0x2521, 0x2576},                                      // row 5: katakana
    {0x2621, 0x2638}, {0x2641, 0x2658},                    // row 6: Greek
    {0x2721, 0x2741}, {0x2751, 0x2771},                    // row 7: Cyrillic
    {0x2821, 0x2840},                                      // row 8: box drawing
};

constexpr CJisRange WholeRow(unsigned row) {
    const unsigned high = (row + 0x20) << 8;
    return {high | 0x21, high | 0x7E};
}

constexpr RangeTable BuildTable() {
    RangeTable table{};
    std::size_t n = 0;
    for (const CJisRange& range : kNonKanji) table[n++] = range;
    for (unsigned row = 16; row <= 46; ++row) table[n++] = WholeRow(row);
    table[n++] = {0x4F21, 0x4F53};  // level 1 ends inside row 47
    for (unsigned row = 48; row <= 83; ++row) table[n++] = WholeRow(row);
    table[n++] = {0x7421, 0x7426};  // level 2 ends inside row 84
    return table;
}

constexpr RangeTable kJisRanges = BuildTable();
static_assert(kJisRanges.back().first == 0x7421, "every slot of the table is filled");

}  // namespace

std::span<const CJisRange> JisRanges() {
    return kJisRanges;
}

int CheckJisCode(unsigned code) {
    const bool bValid =
        std::any_of(kJisRanges.begin(), kJisRanges.end(),
                    [code](const CJisRange& r) { return code >= r.first && code <= r.last; });
    return bValid ? 0 : 2;
}
