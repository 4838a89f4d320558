#include "sim/switcher_state_file.h"

#include <algorithm>

#include "model/file_io.h"
#include "model/settings_file_format.h"

namespace {

// Source codes run from 0 to inputs + 63 (the auto-sequence patterns follow the inputs).
bool RowsFitModel(const CSettingsTables& tables, int nInputs) {
    const auto rows = MemoryRows(tables);
    return std::all_of(rows.begin(), rows.end(), [nInputs](const OutputRow& row) {
        return std::all_of(row.begin(), row.end(),
                           [nInputs](int code) { return code >= 0 && code < nInputs + kPatterns; });
    });
}

}  // namespace

bool LoadSwitcherState(const std::string& path, CSwitcherState& state) {
    auto text = ReadWholeFile(path);
    if (!text) return false;
    CSettingsTables tables = state.m_tables;
    if (ParseSettingsFile(*text, tables) != 0) return false;
    tables.m_nModel = state.m_tables.m_nModel;
    if (!RowsFitModel(tables, state.Inputs())) return false;
    state.m_tables = tables;
    return true;
}

bool SaveSwitcherState(const std::string& path, const CSwitcherState& state) {
    return WriteFileAtomically(path, FormatSettingsFile(state.m_tables)) == WriteResult::kOk;
}
