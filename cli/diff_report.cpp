#include "cli/diff_report.h"

#include <cstdio>

#include "cli/json_text.h"
#include "model/settings_diff_text.h"
#include "protocol/fields.h"

namespace {

struct CTableWords {
    const char* key;   // the JSON name
    const char* what;  // as the line says it
};

CTableWords Words(SettingsTable table) {
    switch (table) {
        case SettingsTable::kSeqTime:
            return {"auto_sequence", "auto-sequence pattern"};
        case SettingsTable::kMemory:
            return {"memory", "memory"};
        case SettingsTable::kTitlePosition:
            return {"title_position", "title position"};
        case SettingsTable::kInTitleDisp:
            return {"input_title_display", "title display"};
        case SettingsTable::kOutTitleDisp:
            return {"output_title_display", "title display"};
        case SettingsTable::kInCalendarDisp:
            return {"input_calendar_display", "calendar display"};
        case SettingsTable::kOutCalendarDisp:
            return {"output_calendar_display", "calendar display"};
        case SettingsTable::kDateFormat:
            return {"date_format", "date format"};
        case SettingsTable::kTitle:
            return {"title", "title"};
    }
    return {"", ""};
}

const char* IndexName(SettingsTable table) {
    return IsInputTable(table) ? "input" : "output";
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char pair[3];
    for (unsigned char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", c);
        out += pair;
    }
    return out;
}

// The raw value: a number, or a title's bytes in hexadecimal.
std::string JsonValue(const CSettingsDifference& d, DiffSide side) {
    const bool bFile = side == DiffSide::kFile;
    if (d.table == SettingsTable::kTitle) return JsonString(Hex(bFile ? d.strFile : d.strSwitcher));
    return std::to_string(bFile ? d.nFile : d.nSwitcher);
}

std::string JsonObject(const CSettingsDifference& d, int nInputs) {
    std::string out = "{\"table\": " + JsonString(Words(d.table).key);
    if (d.nRow) {
        out += d.table == SettingsTable::kSeqTime ? ", \"pattern\": " : ", \"memory\": ";
        out += std::to_string(d.nRow);
    }
    if (d.nIndex)
        out += ", \"" + std::string(IndexName(d.table)) + "\": " + std::to_string(d.nIndex);
    out += ", \"file\": " + JsonString(DifferenceValueText(d, DiffSide::kFile, nInputs));
    out += ", \"switcher\": " + JsonString(DifferenceValueText(d, DiffSide::kSwitcher, nInputs));
    out += ", \"file_value\": " + JsonValue(d, DiffSide::kFile);
    out += ", \"switcher_value\": " + JsonValue(d, DiffSide::kSwitcher);
    out += ", \"text\": " + JsonString(DifferenceLine(d, nInputs));
    return out + "}";
}

}  // namespace

std::string DifferenceItem(const CSettingsDifference& d) {
    const std::string what = Words(d.table).what;
    const std::string index = std::string(IndexName(d.table)) + " " + TwoDigits(d.nIndex);
    switch (d.table) {
        case SettingsTable::kSeqTime:
            return what + " " + TwoDigits(d.nRow) + ", " + index;
        case SettingsTable::kMemory:
            return index + " of memory " + TwoDigits(d.nRow);
        case SettingsTable::kDateFormat:
            return what;
        default:
            return what + " of " + index;
    }
}

std::string DifferenceLine(const CSettingsDifference& d, int nInputs) {
    return DifferenceItem(d) + ": file " + DifferenceValueText(d, DiffSide::kFile, nInputs) +
           ", switcher " + DifferenceValueText(d, DiffSide::kSwitcher, nInputs);
}

std::string DifferencesJson(const std::vector<CSettingsDifference>& diffs, int nInputs) {
    std::string out =
        "{\"equal\": " + std::string(diffs.empty() ? "true" : "false") + ", \"differences\": [";
    for (size_t i = 0; i < diffs.size(); ++i) {
        out += i ? ",\n  " : "\n  ";
        out += JsonObject(diffs[i], nInputs);
    }
    return out + (diffs.empty() ? "]}\n" : "\n]}\n");
}
