// The switcher read back into a copy of the settings, so that the settings
// being edited stay as they are while a compare or a read-back runs: the whole
// value (what a settings file holds, the direct row and the current memory),
// and which data lines came.
#pragma once

#include <set>
#include <utility>

#include "model/settings_tables.h"
#include "protocol/data_lines.h"
#include "protocol/read_lines.h"

struct CReadBackCopy {
    CSettingsTables m_tables;

    // A data line of this kind and number (0 for the unnumbered) came in.
    void NoteLanded(DataLine kind, int nNumber) { m_landed.emplace(kind, nNumber); }
    bool Landed(const CReadRequest& request) const {
        return m_landed.contains({request.item, request.nNumber});
    }

private:
    std::set<std::pair<DataLine, int>> m_landed;
};
