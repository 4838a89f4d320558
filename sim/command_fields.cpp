#include "sim/command_fields.h"

#include <vector>

#include "link/field_codes.h"

int NumberField(std::string_view body, size_t at, int lo, int hi) {
    if (at + 2 > body.size()) return -1;
    int value = TwoDigitValue(body[at], body[at + 1]);
    return (value < lo || value > hi) ? -1 : value;
}

int SourceField(std::string_view body, size_t at, int nInputs) {
    if (at + 3 > body.size()) return -1;
    if (body[at] == 'I') {
        int channel = NumberField(body, at + 1, 1, nInputs);
        return channel < 0 ? -1 : channel - 1;
    }
    if (body[at] == 'A') {
        int pattern = NumberField(body, at + 1, 1, kPatterns);
        return pattern < 0 ? -1 : nInputs + pattern - 1;
    }
    return -1;
}

std::optional<OutputRow> SourceFields(std::string_view body, size_t at, int nInputs) {
    OutputRow row{};
    for (size_t out = 0; out < row.size(); ++out) {
        row[out] = SourceField(body, at + 3 * out, nInputs);
        if (row[out] < 0) return std::nullopt;
    }
    return row;
}

bool FlagFields(std::string_view chars, char chOff, char chOn, std::span<int> out) {
    if (chars.size() > out.size()) return false;
    std::vector<int> values;
    for (char c : chars) {
        if (c != chOff && c != chOn) return false;
        values.push_back(c == chOn ? 1 : 0);
    }
    std::copy(values.begin(), values.end(), out.begin());
    return true;
}
