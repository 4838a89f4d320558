// The one process-wide store of every setting the program edits, the editors'
// remembered selections, and the state of the settings file and send cycles.
//
// Input-indexed tables always hold 64 entries and output-indexed ones 32;
// g_nModel says how many input entries are in use. Every field here belongs
// to the thread that owns the link (the GUI thread, or the command-line tool's
// main thread): the receive thread never touches it.
#pragma once

#include <array>
#include <string>

#include "protocol/table_shapes.h"

// Device setting tables (saved in the settings file, except row 0 of g_nPattern).
extern std::array<std::string, kMaxInputs> g_strTitle;  // Shift_JIS bytes, "" = none
extern std::array<OutputRow, kPatternRows> g_nPattern;  // [row][output] source code
extern OutputTable g_nOutCalendarDisp;                  // 0 OFF, 1 ON
extern InputTable g_nInCalendarDisp;                    // 0 OFF, 1 ON
extern InputTable g_nTitlePosition;                     // 0 Top, 1 Bottom
extern OutputTable g_nOutTitleDisp;                     // 0 OFF, 1 ON
extern InputTable g_nInTitleDisp;                       // 0 OFF, 1 ON
extern std::array<InputTable, kPatterns> g_nSeqTime;    // [pattern][channel] 0 = SKIP
extern int g_nDateFormat;                               // 0 Y.M.D, 1 M-D-Y, 2 D/M/Y
extern int g_nModel;                                    // 0 = 32 inputs, 1 = 64 inputs

// Editor selections, remembered between openings.
extern int g_nCurSeqPattern;
extern int g_nSameTime;
extern int g_nCurChannel;
extern int g_nCurOutput;
extern int g_nCurMemory;
extern int g_nSameChannel;
extern int g_nSameOutCalendar;
extern int g_nSameInCalendar;
extern int g_nSamePosition;
extern int g_nSameOutTitle;
extern int g_nSameInTitle;
extern int g_nSlaveAddress;

// Document and send-cycle state.
extern std::string g_strFileName;
extern int g_bModified;
extern int g_nSendStep;    // 0 = no cycle runs, else the step the next tick performs
extern int g_bErrorReply;  // the reply interpreted last was an error reply

// Restores every table and selection to its default, empties the file name and
// clears the modified flag. Keeps g_nModel, g_nSendStep and g_bErrorReply.
void ResetModelDefaults();

// Number of input channels in use: 32 or 64.
int InputChannelCount();
