// SA: gives the switcher a new slave address.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// "SA", the new address as two digits, CR LF: 6 bytes. Empty for an address
// outside 0..31, which no switcher can take.
std::string FormatSlaveAddressLine(int nNewAddress);

// Body: the line without its RS-485 address and its line end; exactly "SA"
// and 00..31.
std::optional<int> ParseSlaveAddressCommand(std::string_view body);
