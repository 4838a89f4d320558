// The five display switch tables, each sent whole as one line: a tag and one
// character per channel (CTI, CTO, CPI, TSI, TSO).
#pragma once

#include <string>

enum class DisplaySwitch { kInTitle, kOutTitle, kTitlePosition, kInCalendar, kOutCalendar };

// What tells one display switch member from another.
struct CDisplaySwitchSpec {
    const char* tag;           // "CTI", ...
    char chOff;                // character for entry 0 ('F', or 'T' for Top)
    char chOn;                 // character for any other entry ('N', or 'B' for Bottom)
    bool bInputSide;           // input channels (32 or 64 by model) or the 32 outputs
    int* pTable;               // the model's table
    int* pSameValue;           // the model's same-value selection
    const char* cellPrefix;    // "in" or "out"
    const char* valueText[2];  // cell and list texts: "OFF" "ON", or "Top" "Bot."
};

const CDisplaySwitchSpec& DisplaySwitchSpec(DisplaySwitch which);

// Entries in use: 32 or 64 for an input member by model, 32 for an output member.
int DisplaySwitchCount(DisplaySwitch which);

// The tag, one character per entry in use, CR LF: 37 or 69 bytes.
std::string FormatDisplaySwitchLine(const char* tag, const int* table, int nCount, char chOff,
                                    char chOn);
std::string DisplaySwitchLine(DisplaySwitch which);

void SendInTitleDisp();
void SendOutTitleDisp();
void SendTitlePositions();
void SendInCalendarDisp();
void SendOutCalendarDisp();
