#include "tests/support/fleet_lines.h"

#include <sys/stat.h>

#include <algorithm>

#include "model/settings_file_format.h"
#include "tests/support/temp_dir.h"

CSettingsTables FleetTables(int seed, int model) {
    CSettingsTables t = DefaultSettingsTables(model);
    const int n = 32 * (model + 1);
    for (int i = 0; i < n; ++i) t.m_nInTitleDisp[i] = (i + seed) % 2;
    for (int o = 0; o < kOutputs; ++o) t.m_nOutCalendarDisp[o] = (o + seed) % 3 == 0;
    for (int p = 0; p < kPatterns; ++p) {
        for (int c = 0; c < n; ++c) t.m_nSeqTime[p][c] = (p + c + seed) % 61;
    }
    for (int m = 0; m < kPatterns; ++m) {
        for (int o = 0; o < kOutputs; ++o) MemoryRows(t)[m][o] = (m * 7 + o + seed) % (n + 64);
    }
    t.m_strTitle[0] = "\x82\xa0\x82\xa2";  // あい
    // "ラック" and the seed in full-width digits
    t.m_strTitle[1] = "\x83\x89\x83\x62\x83\x4e";
    for (char digit : std::to_string(seed)) {
        t.m_strTitle[1] += {'\x82', static_cast<char>(0x4f + digit - '0')};
    }
    return t;
}

std::string AddressText(const CFleetMember& member) {
    return (member.nAddress < 10 ? "0" : "") + std::to_string(member.nAddress);
}

bool CFleetLines::Add(std::vector<CFleetMember> members, FleetReach reach, CFaultOptions faults) {
    CFleetLine line;
    line.members = std::move(members);
    const auto& first = line.members.front();
    line.server = std::make_unique<CSwitcherServer>(
        CSwitcherOptions{first.nModel, first.nAddress >= 0, std::max(first.nAddress, 0)}, faults);
    for (size_t i = 1; i < line.members.size(); ++i) {
        line.server->AddSwitcher({line.members[i].nModel, true, line.members[i].nAddress});
    }
    if (!line.server->Start()) return false;
    line.strPort = line.server->DevicePath();
    if (reach != FleetReach::kPty) {
        line.ser2net = std::make_unique<CSer2net>(line.server->DevicePath());
        line.strPort =
            reach == FleetReach::kRaw ? line.ser2net->RawPort() : line.ser2net->Rfc2217Port();
    }
    lines.push_back(std::move(line));
    return true;
}

std::string CFleetLines::FileOf(const std::string& dir, const CFleetMember& member) {
    return dir + "/sites/" + member.strName + ".dat";
}

std::string CFleetLines::WriteInventory(const std::string& dir) const {
    ::mkdir((dir + "/sites").c_str(), 0755);
    std::string text = "; the building\n";
    int seed = 0;
    for (const auto& line : lines) {
        for (const auto& m : line.members) {
            WriteFileText(FileOf(dir, m), FormatSettingsFile(FleetTables(++seed, m.nModel)));
            text += "[" + m.strName + "]\nport = " + line.strPort + "\n";
            if (m.nAddress >= 0) text += "address = " + AddressText(m) + "\n";
            text += "model = " + std::string(m.nModel ? "64" : "32") + "\n";
            text += "file = sites/" + m.strName + ".dat\n\n";
        }
    }
    return text;
}
