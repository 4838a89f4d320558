// Controls every run dialog has (the batch runs and the editors' All set):
// the line saying how its last run ended, and the button that stops it.
#pragma once

inline constexpr int IDC_RUN_STATUS = 1128;
inline constexpr int IDC_RUN_STOP = 1129;
