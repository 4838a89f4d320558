// The two-digit decimal field of every command line: tens first, "0" below 10.
#pragma once

#include <string>

// Appends value (0..99; anything else is taken modulo 100) as two digits.
void AppendTwoDigits(std::string& line, int value);
std::string TwoDigits(int value);
