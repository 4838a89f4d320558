// Which handler a command line goes to, by its tag.
#pragma once

#include <string_view>

#include "sim/read_commands.h"
#include "sim/set_commands.h"

struct CCommandEntry {
    std::string_view tag;
    SetHandler set = nullptr;    // a set command, answered "GO"
    ReadHandler read = nullptr;  // a read command, answered with a data line
};

// The entry whose tag is the longest that body starts with, or nullptr. The
// longest match keeps OTP from being taken for OT and ROTP for ROT.
const CCommandEntry* FindCommand(std::string_view body);
