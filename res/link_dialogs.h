// Templates of the communication settings (150) and model selection (152)
// dialogs, and of the About box (100).
//
// The communication settings dialog as the program shows it is the original
// resource (port and interface lists, OK, CLOSE) with two rows added below:
// the device the selected COM port opens, and the search of the bus.
#pragma once

#include "res/dialog_template.h"

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_COMM_SETTINGS = 150;
inline constexpr int IDD_MODEL_SELECT = 152;

inline constexpr int IDC_COM_PORT = 1094;
inline constexpr int IDC_INTERFACE = 1095;
inline constexpr int IDC_MODEL = 1096;
inline constexpr int IDC_PORT_DEVICE = 1123;       // editable list: the selected COM port's device
inline constexpr int IDC_PORT_DEVICE_INFO = 1124;  // what that device is
inline constexpr int IDC_BUS_SEARCH = 1125;        // "検索": asks each slave address
inline constexpr int IDC_BUS_FOUND = 1126;         // the switchers that answered
inline constexpr int IDC_BUS_STATUS = 1127;        // the search's progress and outcome

// The original resource's controls alone.
const CDialogTemplate& CommSettingsTemplate();
// The dialog the program shows: the original controls and the added rows.
const CDialogTemplate& CommSettingsWithDevicesTemplate();
const CDialogTemplate& ModelSelectTemplate();
const CDialogTemplate& AboutTemplate();
