// The display switch editors' send operations: each of the five tables sent
// whole as one line (CTI, CTO, CPI, TSI, TSO).
#pragma once

#include <string>

#include "protocol/display_lines.h"

// What tells one display switch member from another in the editors.
struct CDisplaySwitchSpec {
    bool bInputSide;           // input channels (32 or 64 by model) or the 32 outputs
    int* pTable;               // the model's table
    int* pSameValue;           // the model's same-value selection
    const char* cellPrefix;    // "in" or "out"
    const char* valueText[2];  // cell and list texts: "OFF" "ON", or "Top" "Bot."
};

const CDisplaySwitchSpec& DisplaySwitchSpec(DisplaySwitch which);

// Entries in use: 32 or 64 for an input member by model, 32 for an output member.
int DisplaySwitchCount(DisplaySwitch which);

// The member's line from the model's table.
std::string DisplaySwitchLine(DisplaySwitch which);

// Sends the member's line.
void SendDisplaySwitch(DisplaySwitch which);
void SendInTitleDisp();
void SendOutTitleDisp();
void SendTitlePositions();
void SendInCalendarDisp();
void SendOutCalendarDisp();
