// What a settings file holds of a set of settings: the same value with the
// direct row and the current memory, which no file holds, put to zero, so that
// two sets compare as their files would (titles as stored, not as written).
#pragma once

#include "model/settings_tables.h"

inline CSettingsTables FileTables(CSettingsTables tables) {
    tables.m_nPattern[kDirectRow] = {};
    tables.m_nCurMemory = 0;
    return tables;
}
