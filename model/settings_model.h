// The one process-wide store of every setting the program edits, the editors'
// remembered selections, and the state of the settings file and send cycles.
//
// Input-indexed tables always hold 64 entries and output-indexed ones 32;
// g_nModel says how many input entries are in use. Every field here belongs
// to the thread that owns the link (the GUI thread, or the command-line tool's
// main thread): the receive thread never touches it.
#pragma once

#include <string>

#include "model/settings_tables.h"

// The switcher's settings as the program holds them: one value, so that a
// load, a read-back or a test can copy it whole. The g_ names below are its
// fields.
extern CSettingsTables g_settings;

// Device setting tables (saved in the settings file, except row 0 of g_nPattern).
inline auto& g_strTitle = g_settings.m_strTitle;
inline auto& g_nPattern = g_settings.m_nPattern;
inline auto& g_nOutCalendarDisp = g_settings.m_nOutCalendarDisp;
inline auto& g_nInCalendarDisp = g_settings.m_nInCalendarDisp;
inline auto& g_nTitlePosition = g_settings.m_nTitlePosition;
inline auto& g_nOutTitleDisp = g_settings.m_nOutTitleDisp;
inline auto& g_nInTitleDisp = g_settings.m_nInTitleDisp;
inline auto& g_nSeqTime = g_settings.m_nSeqTime;
inline auto& g_nDateFormat = g_settings.m_nDateFormat;
inline auto& g_nModel = g_settings.m_nModel;

// Editor selections, remembered between openings. The output switching
// editor's row is also the switcher's current memory a read-back brings, so
// it is a field of the settings.
extern int g_nCurSeqPattern;
extern int g_nSameTime;
extern int g_nCurChannel;
extern int g_nCurOutput;
inline auto& g_nCurMemory = g_settings.m_nCurMemory;
extern int g_nSameChannel;
extern int g_nSameOutCalendar;
extern int g_nSameInCalendar;
extern int g_nSamePosition;
extern int g_nSameOutTitle;
extern int g_nSameInTitle;
extern int g_nSlaveAddress;  // the switcher the program talks to on RS-485

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
