// The .dat settings file: 6498 lines of text, one value per line, CR LF line
// ends, numbers in decimal, titles as their Shift_JIS bytes ("s" = no title).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/settings_tables.h"

inline constexpr int kSettingsFileLines = 6498;
inline constexpr int kMaxTitleBytes = 32;
// No settings file comes near this: 6434 numbers of at most three digits and
// 64 titles of at most 32 bytes, each on a line with CR LF, make 34,346 bytes.
// The rest is room for lines that other tools padded.
inline constexpr size_t kMaxSettingsFileBytes = 1024 * 1024;

// The whole file for the given tables, byte for byte.
std::string FormatSettingsFile(const CSettingsTables& tables);

// Reads a file's text into tables, which should hold the values in memory:
// numbers the file does not supply keep them, titles it does not supply become
// empty. Lines may end in CR LF, LF or CR alike. Returns 0, or the number of
// the first line that holds a bad value (a token that is not a decimal number,
// a value out of range, a title of more than 32 bytes); tables is then partly
// written and must be thrown away. *pLinesRead, when given, gets how many
// lines of the layout the file held: kSettingsFileLines, or fewer for a file
// that ends early.
int ParseSettingsFile(std::string_view text, CSettingsTables& tables, int* pLinesRead = nullptr);
