// The slave address editor's send operation: SA gives the switcher a new
// slave address.
#pragma once

// Sends SA (nothing for an address outside 0..31). g_nSlaveAddress (the
// prefix on RS-485) is not changed.
void SendSlaveAddress(int nNewAddress);
