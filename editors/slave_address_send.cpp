#include "editors/slave_address_send.h"

#include "editors/two_digits.h"
#include "link/transmitter.h"

namespace {

constexpr int kSlaveAddresses = 32;  // "00".."31"

}  // namespace

std::string SlaveAddressLine(int nNewAddress) {
    if (nNewAddress < 0 || nNewAddress >= kSlaveAddresses) return "";
    return "SA" + TwoDigits(nNewAddress) + "\r\n";
}

void SendSlaveAddress(int nNewAddress) {
    const std::string line = SlaveAddressLine(nNewAddress);
    if (!line.empty()) SendCommand(line);
}
