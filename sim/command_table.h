// Which handler a set command goes to, by its tag.
#pragma once

#include <string_view>

#include "sim/set_commands.h"

struct CCommandEntry {
    std::string_view tag;
    SetHandler set;  // answered "GO" when it takes the line
};

// The entry whose tag is the longest that body starts with, or nullptr. The
// longest match keeps OTP from being taken for OT.
const CCommandEntry* FindCommand(std::string_view body);
