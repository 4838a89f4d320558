// On RS-485 every line carries the slave address as two digits in front, the
// program's commands and the switcher's replies alike; on RS-232C none does.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

constexpr std::size_t kAddressLength = 2;

// The line with the address in front; an address below 0 (RS-232C) leaves the
// line as it is.
std::string FrameLine(int nAddress, std::string_view line);

struct CAddressedLine {
    int nAddress;           // -1 when the two characters are not digits
    std::string_view rest;  // the line after them, its line end included
};

// The two characters in front and the rest; none for a line shorter than two.
std::optional<CAddressedLine> SplitAddress(std::string_view line);

// The line without what stands where the address goes (all of a line shorter
// than that).
std::string_view DropAddress(std::string_view line);
