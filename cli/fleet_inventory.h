// The inventory of qelvarctl fleet: one profile section per switcher, named by
// the section, with its port, RS-485 address, model and settings file. It is
// read whole and checked before anything is sent; every fault is named with
// the inventory's line.
#pragma once

#include <string>
#include <vector>

struct CFleetSwitcher {
    std::string strName;  // the section's name
    std::string strPort;  // as written
    int nAddress = -1;    // -1 RS-232C
    int nModel = -1;      // -1 not given, 0 = 32, 1 = 64
    std::string strFile;  // the .dat file, relative ones taken from the inventory's folder
    int nLine = 0;        // the section header's line
};

// One fault of the inventory: "inventory.ini:7: unknown key 'adress' in [rack-1 east]".
// nLine is 0 for a fault of the whole file (it cannot be read, it is empty).
struct CInventoryError {
    std::string strFile;
    int nLine = 0;
    std::string strText;
    std::string Message() const;
};

// The switchers in file order, or, when there is any fault, every fault found
// (and no switchers).
struct CFleetInventory {
    std::vector<CFleetSwitcher> switchers;
    std::vector<CInventoryError> errors;
    explicit operator bool() const { return errors.empty(); }
};

CFleetInventory ReadFleetInventory(const std::string& path);

// The line a port name stands for: the parser's canonical form, a host in
// lower case, a device through its links ("/dev/serial/by-id/…" is its tty).
std::string FleetPortKey(const std::string& port);

// Switchers that share a line run one after another; lines run in parallel.
struct CFleetPortGroup {
    std::string strPort;  // the first switcher's port, as written
    std::vector<CFleetSwitcher> switchers;
};

// The switchers by line, lines in the order first seen, switchers in file order.
std::vector<CFleetPortGroup> GroupByPort(const std::vector<CFleetSwitcher>& switchers);
