// A channel title as the switcher carries it (16 JIS X 0208 codes, filled with
// ideographic spaces) and as it is stored (the Shift_JIS bytes of the codes,
// the filling dropped), the same way the program decodes a title it reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editors/title_send.h"

// The 16 codes written as 64 upper-case hexadecimal digits, when every code is
// a JIS X 0208 character.
std::optional<JisCodes> ParseTitleCodes(std::string_view hex);

// The Shift_JIS text of the codes, trailing ideographic spaces dropped.
std::string TitleText(const JisCodes& codes);

// The codes of a stored title, filled up with ideographic spaces. A byte pair
// that is no Shift_JIS double-byte character (a title loaded from a file may
// hold anything) ends the title there.
JisCodes TitleCodes(const std::string& title);
