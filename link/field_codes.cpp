#include "link/field_codes.h"

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int TwoDigitValue(char tens, char units) {
    if (!IsDigit(tens) || !IsDigit(units)) return -1;
    return 10 * (tens - '0') + (units - '0');
}

int HexByteValue(char high, char low) {
    int h = HexDigitValue(high);
    int l = HexDigitValue(low);
    return (h < 0 || l < 0) ? -1 : h * 16 + l;
}

std::string_view LineBody(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}
