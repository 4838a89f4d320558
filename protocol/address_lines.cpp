#include "protocol/address_lines.h"

#include "protocol/fields.h"
#include "protocol/table_shapes.h"

namespace {

constexpr std::string_view kTag = "SA";

}  // namespace

std::string FormatSlaveAddressLine(int nNewAddress) {
    if (nNewAddress < 0 || nNewAddress >= kSlaveAddresses) return "";
    return std::string(kTag) + TwoDigits(nNewAddress) + "\r\n";
}

std::optional<int> ParseSlaveAddressCommand(std::string_view body) {
    if (!body.starts_with(kTag) || body.size() != kTag.size() + 2) return std::nullopt;
    return NumberField(body, kTag.size(), 0, kSlaveAddresses - 1);
}
