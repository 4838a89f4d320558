// Templates of the calendar (144) and slave address (148) editors, the
// all-items transmission (160), the maintenance read-back (161), the compare
// with the switcher (162) and its result (163).
#pragma once

#include "res/dialog_template.h"
#include "res/run_controls.h"

inline constexpr int IDD_CALENDAR = 144;
inline constexpr int IDD_SLAVE_ADDRESS = 148;
inline constexpr int IDD_ALL_ITEMS = 160;
inline constexpr int IDD_SETTINGS_READ = 161;
inline constexpr int IDD_SETTINGS_COMPARE = 162;
inline constexpr int IDD_COMPARE_RESULT = 163;

// Calendar: each list with its Set button. The slave address list is the
// editors' shared 1009 (IDC_SLAVE_ADDRESS).
inline constexpr int IDC_CAL_YEAR = 1080;
inline constexpr int IDC_CAL_SET_YEAR = 1081;
inline constexpr int IDC_CAL_MONTH = 1083;
inline constexpr int IDC_CAL_DAY = 1084;
inline constexpr int IDC_CAL_SET_MONTH = 1085;
inline constexpr int IDC_CAL_SET_DAY = 1086;
inline constexpr int IDC_CAL_HOUR = 1087;
inline constexpr int IDC_CAL_SET_HOUR = 1088;
inline constexpr int IDC_CAL_MINUTE = 1089;
inline constexpr int IDC_CAL_SET_MINUTE = 1090;
inline constexpr int IDC_CAL_SET_SECOND = 1091;
inline constexpr int IDC_CAL_ADJUST = 1092;
inline constexpr int IDC_CAL_SECOND = 1093;
inline constexpr int IDC_CAL_DISPLAY = 1097;
inline constexpr int IDC_CAL_SET_DISPLAY = 1098;

// Slave address: the list is 1009 and Set 1010, as in the table editors.

// All-items transmission.
inline constexpr int IDC_ALL_START = 1117;
inline constexpr int IDC_ALL_COUNTER = 1118;
inline constexpr int IDC_ALL_PROGRESS = 1119;

// Maintenance read-back.
inline constexpr int IDC_READ_START = 1120;
inline constexpr int IDC_READ_PERCENT = 1121;
inline constexpr int IDC_READ_PROGRESS = 1122;

// Compare with the switcher: the read-back's shape.
inline constexpr int IDC_COMPARE_START = 1123;
inline constexpr int IDC_COMPARE_PERCENT = 1124;
inline constexpr int IDC_COMPARE_PROGRESS = 1125;

// Its result: a line saying how many entries differ, and the list of them.
inline constexpr int IDC_COMPARE_SUMMARY = 1126;
inline constexpr int IDC_COMPARE_LIST = 1127;

const CDialogTemplate& CalendarTemplate();
const CDialogTemplate& SlaveAddressTemplate();
const CDialogTemplate& AllItemsTemplate();
const CDialogTemplate& SettingsReadTemplate();
const CDialogTemplate& SettingsCompareTemplate();
const CDialogTemplate& CompareResultTemplate();
