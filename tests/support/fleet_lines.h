// Virtual switchers for qelvarctl fleet: lines, each a virtual switcher
// server with one switcher or an RS-485 bus of several, reached on its
// pseudo-terminal or through ser2net (raw TCP or RFC 2217), and the
// inventory that names them, each switcher with a settings file of its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/settings_tables.h"
#include "sim/switcher_server.h"
#include "tests/support/ser2net_server.h"

struct CFleetMember {
    std::string strName;
    int nAddress;  // -1 RS-232C
    int nModel;    // 0 = 32, 1 = 64
};

enum class FleetReach { kPty, kRaw, kTelnet };

struct CFleetLine {
    std::vector<CFleetMember> members;
    std::unique_ptr<CSwitcherServer> server;
    std::unique_ptr<CSer2net> ser2net;  // none for a pseudo-terminal
    std::string strPort;                // as the inventory names it
};

// Settings of their own for each seed, every table away from the defaults.
CSettingsTables FleetTables(int seed, int model);

// "05"
std::string AddressText(const CFleetMember& member);

class CFleetLines {
public:
    // Starts the line's server (faults apply to the whole line); false when it cannot.
    bool Add(std::vector<CFleetMember> members, FleetReach reach, CFaultOptions faults = {});

    // Writes DIR/sites/NAME.dat for each switcher (FleetTables with seeds 1, 2,
    // ... in order) and returns the inventory text naming them all.
    std::string WriteInventory(const std::string& dir) const;
    // The switcher's settings file under dir.
    static std::string FileOf(const std::string& dir, const CFleetMember& member);

    std::vector<CFleetLine> lines;
};
