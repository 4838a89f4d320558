// The AST command: one auto-sequence pattern's time for every input channel in use.
#pragma once

#include <string>

#include "editors/send_step.h"
#include "model/settings_model.h"

inline constexpr char kAllSkipWarning[] = "全部をスキップに設定することは､できません！";

// "AST", the pattern number (index + 1) as two digits, nChannels times as two
// digits ("00" = SKIP), CR LF: 71 bytes for 32 channels, 135 for 64.
std::string FormatSeqPatternLine(int nPattern, const InputTable& times, int nChannels);

// True when every channel in use of the times is SKIP.
bool IsAllSkip(const InputTable& times, int nChannels);

// Sends pattern nPattern (0..63) of g_nSeqTime for the model in force. Returns
// 0 when sent, 1 when every channel in use is SKIP (nothing is sent), -1 for a
// pattern index outside 0..63 (nothing is sent). A time outside 0..60 goes out
// clamped to 00..60; a negative one therefore counts as SKIP.
int SendSequencePattern(int nPattern);

// SendSequencePattern with its warning; an index outside 0..63 sends nothing
// and warns of nothing.
CStepResult SequencePatternStep(int nPattern);
