// Template of the channel title editor (154).
#pragma once

#include "res/dialog_template.h"

inline constexpr int IDD_TITLE = 154;

inline constexpr int IDC_TITLE_TABLE = 1110;
inline constexpr int IDC_TITLE_EDIT = 1111;
inline constexpr int IDC_TITLE_CHANNEL = 1071;
inline constexpr int IDC_TITLE_COUNTER = 1114;

const CDialogTemplate& TitleTemplate();
