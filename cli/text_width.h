// How wide UTF-8 text shows on a terminal, for lining up columns: East Asian
// wide and fullwidth characters take two columns. The locale is not asked.
#pragma once

#include <string>
#include <string_view>

size_t DisplayWidth(std::string_view utf8);
// The text with spaces after it up to width columns.
std::string PadToWidth(std::string_view utf8, size_t width);
