// Where the decoders write a data line: the settings model, or a copy of its
// tables that a compare reads the switcher into, so that the settings being
// edited stay as they are.
#pragma once

#include <set>
#include <span>
#include <string>
#include <utility>

#include "model/settings_tables.h"
#include "protocol/data_lines.h"
#include "protocol/read_lines.h"

// The switcher read back into a copy: the tables a settings file holds, what
// it has switched now (read, but not in a file), and which data lines came.
struct CReadBackCopy {
    CSettingsTables tables;
    OutputRow directRow{};
    int nCurMemory = 0;

    // A data line of this kind and number (0 for the unnumbered) came in.
    void NoteLanded(DataLine kind, int nNumber) { m_landed.emplace(kind, nNumber); }
    bool Landed(const CReadRequest& request) const {
        return m_landed.contains({request.item, request.nNumber});
    }

private:
    std::set<std::pair<DataLine, int>> m_landed;
};

struct CDecodeTarget {
    std::array<InputTable, kPatterns>& seqTime;
    std::array<std::string, kMaxInputs>& titles;
    InputTable& titlePosition;
    InputTable& inTitleDisp;
    OutputTable& outTitleDisp;
    InputTable& inCalendarDisp;
    OutputTable& outCalendarDisp;
    OutputRow& directRow;
    std::span<OutputRow, kPatterns> memoryRows;  // memory 01 first
    int& curMemory;
    int& dateFormat;
    CReadBackCopy* pCopy = nullptr;  // told what landed; nullptr for the model
};

CDecodeTarget ModelTarget();
CDecodeTarget CopyTarget(CReadBackCopy& copy);
