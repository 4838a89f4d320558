// Templates of the communication settings (150) and model selection (152)
// dialogs, and of the About box (100).
#pragma once

#include "res/dialog_template.h"

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_COMM_SETTINGS = 150;
inline constexpr int IDD_MODEL_SELECT = 152;

inline constexpr int IDC_COM_PORT = 1094;
inline constexpr int IDC_INTERFACE = 1095;
inline constexpr int IDC_MODEL = 1096;

const CDialogTemplate& CommSettingsTemplate();
const CDialogTemplate& ModelSelectTemplate();
const CDialogTemplate& AboutTemplate();
