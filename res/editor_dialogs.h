// Templates of the table editors: auto-sequence (130) and output switching (158).
#pragma once

#include "res/dialog_template.h"

inline constexpr int IDD_AUTO_SEQUENCE = 130;
inline constexpr int IDD_PATTERN_OUTPUT = 158;

// Controls the table editors share.
inline constexpr int IDC_SLAVE_ADDRESS = 1009;
inline constexpr int IDC_SET = 1010;
inline constexpr int IDC_ALL_SET = 1069;

// Auto-sequence.
inline constexpr int IDC_SEQ_PATTERN = 1000;
inline constexpr int IDC_SEQ_CHANNEL = 1071;
inline constexpr int IDC_SEQ_TIME = 1073;
inline constexpr int IDC_SEQ_SAME_TIME = 1067;
inline constexpr int IDC_SEQ_TABLE = 1099;
inline constexpr int IDC_SEQ_COUNTER = 1106;

// Output switching.
inline constexpr int IDC_OUT_MEMORY = 1109;
inline constexpr int IDC_OUT_SWITCH = 1108;
inline constexpr int IDC_OUT_OUTPUT = 1072;
inline constexpr int IDC_OUT_CHANNEL = 1115;
inline constexpr int IDC_OUT_SAME_CHANNEL = 1073;
inline constexpr int IDC_OUT_TABLE = 1100;
inline constexpr int IDC_OUT_COUNTER = 1107;

const CDialogTemplate& AutoSequenceTemplate();
const CDialogTemplate& PatternOutputTemplate();

// "I01".."I64", "A01".."A64": the source-code lists before trimming by model.
std::vector<std::string> SourceCodeItems();
