// A text written count times over, for lines and titles built field by field.
#pragma once

#include <string>
#include <string_view>

inline std::string Repeat(std::string_view text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}
