// Templates of the five display switch editors: input title (136), output
// title (138), title position (134), input calendar (140), output calendar
// (142). All share one layout; they differ in ids, labels and list items.
#pragma once

#include "res/dialog_template.h"

inline constexpr int IDD_TITLE_POSITION = 134;
inline constexpr int IDD_INPUT_TITLE = 136;
inline constexpr int IDD_OUTPUT_TITLE = 138;
inline constexpr int IDD_INPUT_CALENDAR = 140;
inline constexpr int IDD_OUTPUT_CALENDAR = 142;

inline constexpr int IDC_DISP_CHANNEL = 1071;
inline constexpr int IDC_DISP_DISPLAY = 1077;      // input title and both calendars
inline constexpr int IDC_DISP_OUT_DISPLAY = 1078;  // output title
inline constexpr int IDC_DISP_POSITION = 1075;
inline constexpr int IDC_DISP_SAME_DISPLAY = 1076;
inline constexpr int IDC_DISP_SAME_POSITION = 1074;

inline constexpr int IDC_DISP_IN_TITLE_TABLE = 1101;
inline constexpr int IDC_DISP_OUT_TITLE_TABLE = 1102;
inline constexpr int IDC_DISP_POSITION_TABLE = 1103;
inline constexpr int IDC_DISP_IN_CALENDAR_TABLE = 1104;
inline constexpr int IDC_DISP_OUT_CALENDAR_TABLE = 1105;

const CDialogTemplate& InputTitleTemplate();
const CDialogTemplate& OutputTitleTemplate();
const CDialogTemplate& TitlePositionTemplate();
const CDialogTemplate& InputCalendarTemplate();
const CDialogTemplate& OutputCalendarTemplate();
