#include "protocol/rs485_frame.h"

#include <algorithm>

#include "protocol/fields.h"

std::string FrameLine(int nAddress, std::string_view line) {
    std::string framed = nAddress >= 0 ? TwoDigits(nAddress) : std::string();
    framed.append(line);
    return framed;
}

std::optional<CAddressedLine> SplitAddress(std::string_view line) {
    if (line.size() < kAddressLength) return std::nullopt;
    return CAddressedLine{TwoDigitValue(line[0], line[1]).value_or(-1),
                          line.substr(kAddressLength)};
}

std::string_view DropAddress(std::string_view line) {
    line.remove_prefix(std::min(kAddressLength, line.size()));
    return line;
}
