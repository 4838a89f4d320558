// The codes a title may hold: the 6879 characters of JIS X 0208:1990 (its
// non-kanji rows and the level 1 and level 2 kanji) as 86 inclusive ranges.
#pragma once

#include <span>

struct CJisRange {
    unsigned first;
    unsigned last;
};

std::span<const CJisRange> JisRanges();

// 0 when code is one of the 6879 characters, else 2.
int CheckJisCode(unsigned code);
