// Copies between the settings model's tables and a CSettingsTables value.
#pragma once

#include "model/settings_tables.h"

// Copies the file's fields out of the settings model.
CSettingsTables CaptureSettingsTables();

// Writes the file's fields into the settings model (row 0 of g_nPattern and
// every other field keep their values).
void CommitSettingsTables(const CSettingsTables& tables);
