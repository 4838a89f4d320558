// The slave address editor's send operation: SA gives the switcher a new
// slave address.
#pragma once

#include "editors/send_step.h"

// Sends SA (nothing for an address outside 0..31: kNoSuchItem). g_nSlaveAddress
// (the prefix on RS-485) is not changed.
CStepResult SendSlaveAddress(int nNewAddress);
