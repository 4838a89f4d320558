// Lines for the protocol tests, built field by field.
#pragma once

#include <string>
#include <string_view>

#include "protocol/table_shapes.h"
#include "tests/support/repeat_text.h"

// Source fields I01..I32 (output n shows input n).
inline std::string IdentitySources() {
    std::string out;
    for (int i = 1; i <= kOutputs; ++i) out += (i < 10 ? "I0" : "I") + std::to_string(i);
    return out;
}

inline OutputRow IdentityRow() {
    OutputRow row{};
    for (int out = 0; out < kOutputs; ++out) row[out] = out;
    return row;
}
