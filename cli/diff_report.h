// The differences between a settings file and a switcher as qelvarctl prints
// them: one line each in words ("output 07 of memory 12: file I03, switcher
// A01"), or one JSON document for scripts.
#pragma once

#include <string>
#include <vector>

#include "model/settings_diff.h"

// "auto-sequence pattern 05, input 12", "title of input 03", "date format", ...
std::string DifferenceItem(const CSettingsDifference& diff);
// The item, then ": file VALUE, switcher VALUE".
std::string DifferenceLine(const CSettingsDifference& diff, int nInputs);

// {"equal": ..., "differences": [{"table": ..., ...}, ...]} and a line end.
std::string DifferencesJson(const std::vector<CSettingsDifference>& diffs, int nInputs);
