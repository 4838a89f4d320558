// What the control server keeps between starts, which the switcher does not
// hold: each unit's TCP port, its output labels and its locked outputs. An
// INI file, one section per unit: "[unit 05]" on RS-485, "[unit]" on RS-232C,
// and the base port the units' ports were given from.
#pragma once

#include <string>
#include <vector>

#include "server/served_unit.h"

// Reads path (a missing file keeps the defaults) and gives every unit whose
// port is 0 the port the file names for it, else the lowest free one from
// nBasePort on; a port newly given is written back at once, so that it stays.
// Outputs locked in the file are locked by nobody now. False with the
// reason when the file exists but cannot be read or the ports cannot be kept.
bool LoadServerState(const std::string& path, int nBasePort, std::vector<CServedUnit>& units,
                     std::string* reason = nullptr);
bool SaveServerState(const std::string& path, int nBasePort, const std::vector<CServedUnit>& units,
                     std::string* reason = nullptr);
// The ports alone, for a server that keeps no state file.
void AssignPorts(int nBasePort, std::vector<CServedUnit>& units);
