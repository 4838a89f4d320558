#include "model/settings_diff.h"

namespace {

constexpr std::string_view kIdeographicSpace = "\x81\x40";

class CComparer {
public:
    CComparer(const CSettingsTables& file, const CSettingsTables& sw, int nInputs)
        : m_file(file), m_sw(sw), m_nInputs(nInputs) {}

    void Entries(SettingsTable table, int nRow, const int* file, const int* sw, int count) {
        for (int i = 0; i < count; ++i) {
            if (file[i] != sw[i]) m_out.push_back({table, nRow, i + 1, file[i], sw[i], {}, {}});
        }
    }

    void Tables(CompareScope scope) {
        for (int p = 0; p < kPatterns; ++p) {
            Entries(SettingsTable::kSeqTime, p + 1, m_file.m_nSeqTime[p].data(),
                    m_sw.m_nSeqTime[p].data(), m_nInputs);
        }
        for (int m = 1; m <= kPatterns; ++m) {
            Entries(SettingsTable::kMemory, m, m_file.m_nPattern[m].data(),
                    m_sw.m_nPattern[m].data(), kOutputs);
        }
        Input(SettingsTable::kTitlePosition, &CSettingsTables::m_nTitlePosition);
        Input(SettingsTable::kInTitleDisp, &CSettingsTables::m_nInTitleDisp);
        Output(SettingsTable::kOutTitleDisp, &CSettingsTables::m_nOutTitleDisp);
        Input(SettingsTable::kInCalendarDisp, &CSettingsTables::m_nInCalendarDisp);
        Output(SettingsTable::kOutCalendarDisp, &CSettingsTables::m_nOutCalendarDisp);
        if (scope == CompareScope::kEverythingRead && m_file.m_nDateFormat != m_sw.m_nDateFormat) {
            m_out.push_back({SettingsTable::kDateFormat,
                             0,
                             0,
                             m_file.m_nDateFormat,
                             m_sw.m_nDateFormat,
                             {},
                             {}});
        }
        for (int c = 0; c < m_nInputs; ++c) {
            std::string file = TitleAsCarried(m_file.m_strTitle[c]);
            std::string sw = TitleAsCarried(m_sw.m_strTitle[c]);
            if (file != sw) m_out.push_back({SettingsTable::kTitle, 0, c + 1, 0, 0, file, sw});
        }
    }

    std::vector<CSettingsDifference> Take() { return std::move(m_out); }

private:
    void Input(SettingsTable table, InputTable CSettingsTables::*field) {
        Entries(table, 0, (m_file.*field).data(), (m_sw.*field).data(), m_nInputs);
    }
    void Output(SettingsTable table, OutputTable CSettingsTables::*field) {
        Entries(table, 0, (m_file.*field).data(), (m_sw.*field).data(), kOutputs);
    }

    const CSettingsTables& m_file;
    const CSettingsTables& m_sw;
    int m_nInputs;
    std::vector<CSettingsDifference> m_out;
};

}  // namespace

std::vector<CSettingsDifference> CompareSettings(const CSettingsTables& file,
                                                 const CSettingsTables& switcher, int nInputs,
                                                 CompareScope scope) {
    nInputs = nInputs > 32 ? kMaxInputs : 32;
    CComparer comparer(file, switcher, nInputs);
    comparer.Tables(scope);
    return comparer.Take();
}

std::string TitleAsCarried(std::string_view title) {
    if (title == " ") return {};  // sent as a blank title
    while (title.size() % 2 == 0 && title.ends_with(kIdeographicSpace)) {
        title.remove_suffix(kIdeographicSpace.size());
    }
    return std::string(title);
}

bool IsInputTable(SettingsTable table) {
    switch (table) {
        case SettingsTable::kSeqTime:
        case SettingsTable::kTitlePosition:
        case SettingsTable::kInTitleDisp:
        case SettingsTable::kInCalendarDisp:
        case SettingsTable::kTitle:
            return true;
        default:
            return false;
    }
}
