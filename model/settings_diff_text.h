// The values of a difference as a user reads them, the same in the terminal
// and in the program: "10 s" or "SKIP", "I03" or "A01", "ON" or "OFF", "Top"
// or "Bottom", "年.月.日", a title as text. Texts are UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "model/cp932_text.h"  // ShiftJisToUtf8, for the titles
#include "model/settings_diff.h"

enum class DiffSide { kFile, kSwitcher };

// The value on one side; nInputs reads the source codes of a memory.
std::string DifferenceValueText(const CSettingsDifference& diff, DiffSide side, int nInputs);
