// Command lines for the virtual switcher tests, built field by field.
#pragma once

#include <string>
#include <string_view>
#include "tests/support/repeat_text.h"

inline std::string Crlf(std::string_view body) {
    return std::string(body) + "\r\n";
}

// Source fields I01..I32 (output n shows input n).
inline std::string IdentitySources() {
    std::string out;
    for (int i = 1; i <= 32; ++i) out += (i < 10 ? "I0" : "I") + std::to_string(i);
    return out;
}

inline constexpr char kGo[] = "GO\r\n";
inline constexpr char kE3[] = "E3\r\n";
