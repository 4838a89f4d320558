#include "model/settings_diff_text.h"

#include "model/cp932_text.h"
#include "protocol/fields.h"

namespace {

const char* const kDateFormats[] = {"年.月.日", "月-日-年", "日/月/年"};

std::string FlagText(SettingsTable table, int value) {
    if (table == SettingsTable::kTitlePosition) return value == 0 ? "Top" : "Bottom";
    return value == 0 ? "OFF" : "ON";
}

std::string NumberText(const CSettingsDifference& diff, int value, int nInputs) {
    switch (diff.table) {
        case SettingsTable::kSeqTime:
            return value == 0 ? "SKIP" : std::to_string(value) + " s";
        case SettingsTable::kMemory:
            return SourceCodeText(value, nInputs);
        case SettingsTable::kDateFormat:
            return value >= 0 && value <= 2 ? kDateFormats[value] : std::to_string(value);
        default:
            return FlagText(diff.table, value);
    }
}

}  // namespace

std::string DifferenceValueText(const CSettingsDifference& diff, DiffSide side, int nInputs) {
    const bool bFile = side == DiffSide::kFile;
    if (diff.table == SettingsTable::kTitle) {
        const std::string& title = bFile ? diff.strFile : diff.strSwitcher;
        return title.empty() ? "(none)" : ShiftJisToUtf8(title);
    }
    return NumberText(diff, bFile ? diff.nFile : diff.nSwitcher, nInputs);
}
