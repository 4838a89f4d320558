// Comparing the settings tables a file holds with those a switcher was read
// back into. Only what both a file and the read-back hold is compared: the
// auto-sequence times and titles of the input channels in use (channels beyond
// the model's are not read), all 64 memories, the five display tables, the date
// format; not the direct row or the current memory, which no file holds. Titles
// compare as the bytes a CA line carries, so the ideographic spaces a line is
// filled up with, which the switcher gives back dropped, do not count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/settings_tables.h"

// In the order the read-back reads them, which is the order differences come in.
enum class SettingsTable {
    kSeqTime,          // auto-sequence time: pattern 1..64, input
    kMemory,           // memory 1..64, output
    kTitlePosition,    // input
    kInTitleDisp,      // input
    kOutTitleDisp,     // output
    kInCalendarDisp,   // input
    kOutCalendarDisp,  // output
    kDateFormat,
    kTitle,  // input
};

struct CSettingsDifference {
    SettingsTable table = SettingsTable::kSeqTime;
    int nRow = 0;    // pattern or memory 1..64; 0 in the other tables
    int nIndex = 0;  // input or output 1..; 0 for the date format
    int nFile = 0;   // the values; titles use the texts below
    int nSwitcher = 0;
    std::string strFile;  // titles: the Shift_JIS bytes, as a line carries them
    std::string strSwitcher;

    bool operator==(const CSettingsDifference&) const = default;
};

enum class CompareScope {
    kEverythingRead,  // every table the read-back reads
    kAllItemsRun,     // what the all-items run sends: the date format left out
};

// Every entry that differs, in table order, then by row and index.
std::vector<CSettingsDifference> CompareSettings(
    const CSettingsTables& file, const CSettingsTables& switcher, int nInputs,
    CompareScope scope = CompareScope::kEverythingRead);

// A stored title as a CA line carries it and a switcher gives it back: a lone
// half-width blank and the trailing ideographic spaces dropped.
std::string TitleAsCarried(std::string_view title);

// Whether the table's index counts input channels (else outputs, or none).
bool IsInputTable(SettingsTable table);
