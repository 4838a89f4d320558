// One switcher as the control server serves it: where it is on the link, the
// port it is served on, the tables it serves, and what the protocol has that
// the switcher does not (output labels and locks).
#pragma once

#include <array>
#include <limits>
#include <string>

#include "model/settings_tables.h"
#include "protocol/table_shapes.h"

// A lock taken by a connection that has gone (or before a restart): every
// client sees it locked until one forces it open.
inline constexpr unsigned long kLockedByNobody = std::numeric_limits<unsigned long>::max();

struct CServedUnit {
    int nAddress = -1;  // the RS-485 slave address; -1 on RS-232C
    int nPort = 0;      // the TCP port it is served on
    // The routing (row 0) and titles served; owned by whoever runs the server
    // (the program's settings, or one value per unit in qelvarctl serve).
    CSettingsTables* pTables = nullptr;
    std::array<std::string, kOutputs> outputLabels;  // UTF-8
    // The connection holding each output's lock; 0 when unlocked.
    std::array<unsigned long, kOutputs> lockOwner{};
    // The tables hold what the switcher has: read back, or given.
    bool bLoaded = false;
};

// Inputs as clients see them: the real ones, then one per auto-sequence
// pattern (A01..A64). The index of each is its source code.
inline int ServedInputs(const CServedUnit& unit) {
    return InputChannels(*unit.pTables) + kPatterns;
}

// "out01".."out32", as the output switching editor names the outputs.
std::string DefaultOutputLabel(int nOutput);
