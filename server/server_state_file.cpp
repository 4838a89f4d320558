#include "server/server_state_file.h"

#include <cstdio>
#include <set>
#include <sstream>

#include "link/ini_file.h"
#include "protocol/fields.h"

namespace {

std::string Section(const CServedUnit& unit) {
    return unit.nAddress < 0 ? "unit" : "unit " + TwoDigits(unit.nAddress);
}

std::string OutputKey(int nOutput) {
    return "output" + TwoDigits(nOutput + 1);
}

// "01 05 32": the outputs locked, numbered from 01 as the switcher numbers them.
std::string LockedOutputs(const CServedUnit& unit) {
    std::string text;
    for (int o = 0; o < kOutputs; ++o) {
        if (unit.lockOwner[o] == 0) continue;
        if (!text.empty()) text += ' ';
        text += TwoDigits(o + 1);
    }
    return text;
}

void ReadLocks(const std::string& text, CServedUnit& unit) {
    std::istringstream in(text);
    int number = 0;
    while (in >> number) {
        if (number >= 1 && number <= kOutputs) unit.lockOwner[number - 1] = kLockedByNobody;
    }
}

constexpr char kServerSection[] = "server";

void ReadUnit(const CIniFile& ini, CServedUnit& unit, bool bPorts) {
    const std::string section = Section(unit);
    for (int o = 0; o < kOutputs; ++o) {
        if (auto label = ini.GetString(section, OutputKey(o))) unit.outputLabels[o] = *label;
    }
    if (auto locks = ini.GetString(section, "locked")) ReadLocks(*locks, unit);
    if (bPorts && unit.nPort == 0) unit.nPort = ini.GetInt(section, "port", 0);
}

void WriteUnit(CIniFile& ini, const CServedUnit& unit) {
    const std::string section = Section(unit);
    ini.SetInt(section, "port", unit.nPort);
    for (int o = 0; o < kOutputs; ++o) ini.SetString(section, OutputKey(o), unit.outputLabels[o]);
    ini.SetString(section, "locked", LockedOutputs(unit));
}

// Ports reserved beyond the units: those the file keeps for units not served
// now. A port a unit already has (the program's one port, whichever switcher
// it serves) stays its own even where the file reserves it for another.
void GivePorts(int nBasePort, std::vector<CServedUnit>& units, std::set<int> reserved) {
    std::set<int> taken;
    for (CServedUnit& unit : units) {
        // Two units given one port (a file edited by hand): the later is given another.
        if (unit.nPort != 0 && !taken.insert(unit.nPort).second) unit.nPort = 0;
    }
    taken.merge(reserved);
    int next = nBasePort;
    for (CServedUnit& unit : units) {
        if (unit.nPort != 0) continue;
        while (taken.count(next)) ++next;
        unit.nPort = next;
        taken.insert(next);
    }
}

// The ports the file keeps for units other than those served now.
std::set<int> KeptPorts(const CIniFile& ini, const std::vector<CServedUnit>& units) {
    std::set<int> kept;
    for (int address = -1; address < kSlaveAddresses; ++address) {
        bool bServed = false;
        for (const CServedUnit& unit : units) bServed = bServed || unit.nAddress == address;
        CServedUnit other;
        other.nAddress = address;
        const int port = ini.GetInt(Section(other), "port", 0);
        if (!bServed && port != 0) kept.insert(port);
    }
    return kept;
}

}  // namespace

void AssignPorts(int nBasePort, std::vector<CServedUnit>& units) {
    GivePorts(nBasePort, units, {});
}

bool LoadServerState(const std::string& path, int nBasePort, std::vector<CServedUnit>& units,
                     std::string* reason) {
    CIniFile ini;
    const CIniResult loaded = ini.Load(path);
    if (!loaded) {
        if (reason) *reason = path + ": " + loaded.strReason;
        AssignPorts(nBasePort, units);
        return false;
    }
    // Ports kept from another base port are given afresh from this one.
    const bool bPorts = ini.GetInt(kServerSection, "base_port", 0) == nBasePort;
    for (CServedUnit& unit : units) ReadUnit(ini, unit, bPorts);
    GivePorts(nBasePort, units, bPorts ? KeptPorts(ini, units) : std::set<int>{});
    bool bNewPort = !bPorts;
    for (const CServedUnit& unit : units) {
        bNewPort = bNewPort || ini.GetInt(Section(unit), "port", 0) != unit.nPort;
    }
    return !bNewPort || SaveServerState(path, nBasePort, units, reason);
}

bool SaveServerState(const std::string& path, int nBasePort, const std::vector<CServedUnit>& units,
                     std::string* reason) {
    CIniFile ini;
    ini.Load(path);  // keeps the other units' sections and any comments
    ini.SetInt(kServerSection, "base_port", nBasePort);
    for (const CServedUnit& unit : units) WriteUnit(ini, unit);
    const CIniResult saved = ini.Save(path);
    if (!saved && reason) *reason = path + ": " + saved.strReason;
    return saved.bOk;
}
