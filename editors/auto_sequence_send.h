// The auto-sequence editor's send operation: one pattern of g_nSeqTime as AST.
#pragma once

#include "editors/send_step.h"

inline constexpr char kAllSkipWarning[] = "全部をスキップに設定することは､できません！";

// Sends pattern nPattern (0..63) of g_nSeqTime for the model in force. Returns
// 0 when sent, 1 when every channel in use is SKIP (nothing is sent), -1 for a
// pattern index outside 0..63 (nothing is sent). A time outside 0..60 goes out
// clamped to 00..60; a negative one therefore counts as SKIP.
int SendSequencePattern(int nPattern);

// SendSequencePattern as a result: sent, refused as all SKIP (with its
// warning), or no such pattern (nothing sent, no warning).
CStepResult SequencePatternStep(int nPattern);
