// A read-back answer put where it belongs in a copy of the tables.
#pragma once

#include <string_view>

#include "model/settings_tables.h"
#include "protocol/read_lines.h"

// True when body (no address, no line end) is the data line read asks for
// and it landed in tables: ROT's routing into the direct row, RCAnn's title.
bool LandRead(const CReadRequest& read, std::string_view body, int nInputs,
              CSettingsTables& tables);
