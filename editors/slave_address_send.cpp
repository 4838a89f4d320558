#include "editors/slave_address_send.h"

#include "link/transmitter.h"
#include "protocol/address_lines.h"

CStepResult SendSlaveAddress(int nNewAddress) {
    const std::string line = FormatSlaveAddressLine(nNewAddress);
    if (line.empty()) return CStepResult::Refused(SendRefusal::kNoSuchItem);
    SendCommand(line);
    return {};
}
