// A channel title as a line carries it, 16 JIS X 0208 codes filled up with
// ideographic spaces, and as it is stored, the Shift_JIS bytes of its
// characters with the filling dropped.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "protocol/table_shapes.h"

inline constexpr unsigned kFullWidthSpaceJis = 0x2121;

using JisCodes = std::array<unsigned, kTitleChars>;

// 2 at the first code outside JIS X 0208, else 0.
int CheckJisCodes(const JisCodes& codes);

// Converts the byte pairs of sjis (lead byte first) into codes, from the
// first, up to 16; returns how many converted before the first pair that is
// no double-byte Shift_JIS character (or the end of sjis).
std::size_t ShiftJisToJisCodes(std::string_view sjis, JisCodes& codes);

// The codes of a stored title, filled up with ideographic spaces. A byte pair
// that is no double-byte character (a title loaded from a file may hold
// anything) ends the title there.
JisCodes TitleCodes(std::string_view title);

// The Shift_JIS text of the codes: the ideographic spaces at the end are
// dropped, and a code that has no Shift_JIS form ends the text.
std::string TitleText(const JisCodes& codes);
