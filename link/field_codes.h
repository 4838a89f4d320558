// Field encodings of the switcher's data lines.
#pragma once

#include <string_view>

// Two ASCII decimal digits, tens first: 0..99, or -1 when either is not a digit.
int TwoDigitValue(char tens, char units);

// Two upper-case hexadecimal digits, high nibble first: 0..255, or -1.
int HexByteValue(char high, char low);

// The line without its LF and the CR before it.
std::string_view LineBody(std::string_view line);
