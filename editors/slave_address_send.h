// The SA command: gives the switcher a new slave address.
#pragma once

#include <string>

// "SA", the new address as two digits, CR LF: 6 bytes. Empty for an address
// outside 0..31, which no switcher can take.
std::string SlaveAddressLine(int nNewAddress);

// Sends SA (nothing for an address outside 0..31). g_nSlaveAddress (the
// prefix on RS-485) is not changed.
void SendSlaveAddress(int nNewAddress);
