// What a run dialog's status line says of how its last run ended, in the
// program's Japanese: "全 165 項目を送信しました", "中止しました", ...
#pragma once

#include <QString>

#include "batch/run_outcome.h"
#include "batch/send_cycle.h"

enum class RunVerb { kSend, kRead };

// The steps name the step an end names and the items refused.
QString RunOutcomeText(const CRunOutcome& outcome, const CStepList& steps, RunVerb verb);
