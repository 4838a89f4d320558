// The report of qelvarctl fleet: a table for the terminal, a JSON document for
// scripts, JUnit XML for a CI pipeline or a commissioning checklist, one entry
// per switcher in inventory order.
#pragma once

#include <string>

#include "cli/fleet_result.h"

class CTempFileTracker;

// A header row, one row per switcher (name, port, address, model, result,
// time, the first line of its details and how many more), columns aligned by
// terminal width, then "10 switchers: 8 ok, 1 differs, 1 absent (45.2 s)".
// Names, ports and details show their controls as text (VisibleText).
std::string FleetTable(const CFleetReport& report);

// {"command": ..., "inventory": ..., "status": ..., "ok": ..., "seconds": ...,
// "switchers": [{"name": ..., ...}, ...]} and a line end.
std::string FleetJson(const CFleetReport& report);

// One test suite "qelvarctl fleet COMMAND", one test case per switcher: a
// switcher that differs or refused items fails, one whose link or command went
// wrong is an error.
std::string FleetJunit(const CFleetReport& report);

// Replaces path with text atomically; false and "cannot write PATH: REASON"
// when it cannot. A tracker hears of the temporary file while it exists.
bool WriteReportFile(const std::string& path, const std::string& text, std::string& error,
                     CTempFileTracker* tracker = nullptr);
