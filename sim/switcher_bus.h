// Several virtual switchers on one RS-485 line, as written on a command line:
// "NN:32" or "NN:64" for each, the slave address and the input count.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/virtual_switcher.h"

// "NN" (00..31, one or two digits) with an optional ":32" or ":64"; without
// one the switcher has nDefaultModel. An RS-485 switcher with its own address.
std::optional<CSwitcherOptions> ParseBusSwitcher(std::string_view text, int nDefaultModel);

// Why the switchers cannot share a line (two with one address), or empty.
std::string BusConflict(const std::vector<CSwitcherOptions>& bus);
