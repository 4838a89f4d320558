// A served switcher's state as the Videohub blocks that show it.
#pragma once

#include <string>
#include <vector>

#include "server/served_unit.h"
#include "videohub/status_blocks.h"

struct CUnitIdentity {
    std::string strFriendlyName;
    std::string strUniqueId;  // 12 hexadecimal digits, the same on every start
};

CVideohubDevice UnitDevice(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity);

// The label of input nInput: its channel title as UTF-8, or the pattern's
// name ("A05") for a pseudo input.
std::string InputLabel(const CSettingsTables& tables, int nInput);
// The input shown on output nOutput: its source code, or -1 for a code no
// input stands for (a table loaded from anywhere may hold anything).
int RoutedInput(const CServedUnit& unit, int nOutput);

std::vector<NumberedItem> InputLabelItems(const CServedUnit& unit);
std::vector<NumberedItem> OutputLabelItems(const CServedUnit& unit);
std::vector<NumberedItem> RoutingItems(const CServedUnit& unit);
// "O" where clientId holds the lock, "L" where another does, "U" elsewhere.
std::vector<NumberedItem> LockItems(const CServedUnit& unit, unsigned long clientId);
std::string LockState(const CServedUnit& unit, int nOutput, unsigned long clientId);

// What a client is sent on connect: the preamble, the device, and while it is
// present the labels, locks and routing, then the end of the prelude.
std::string OpeningDump(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity,
                        unsigned long clientId);
// The same without the preamble, for a client already connected when the
// device comes (back).
std::string DeviceBlocks(const CServedUnit& unit, bool bPresent, const CUnitIdentity& identity,
                         unsigned long clientId);
