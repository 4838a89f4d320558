// Strict readers for the fields of incoming command lines. Each returns -1 or
// false for anything the switcher must refuse, so a handler can check every
// field before it changes anything.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "model/settings_model.h"

// The two decimal digits at offset at, when they lie in lo..hi; else -1.
int NumberField(std::string_view body, size_t at, int lo, int hi);

// The source code of the three-character field at offset at: 'I' 01..nInputs
// gives 0..nInputs - 1, 'A' 01..64 gives nInputs..nInputs + 63; else -1.
int SourceField(std::string_view body, size_t at, int nInputs);

// The 32 source fields from offset at (one per output).
std::optional<OutputRow> SourceFields(std::string_view body, size_t at, int nInputs);

// One flag character per entry: chOff gives 0, chOn gives 1, any other refuses
// the whole field. chars.size() entries of out are written only on success.
bool FlagFields(std::string_view chars, char chOff, char chOn, std::span<int> out);
