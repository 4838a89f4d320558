// AST, OT, TP and OTP: what the switcher shows on its outputs.
#include <algorithm>

#include "sim/command_fields.h"
#include "sim/set_commands.h"

namespace {

constexpr size_t kSourceFieldsLength = 3 * kOutputs;

}  // namespace

bool SetSeqPattern(std::string_view body, CSwitcherState& state) {
    const int n = state.Inputs();
    if (body.size() != 5 + 2 * static_cast<size_t>(n)) return false;
    int pattern = NumberField(body, 3, 1, kPatterns);
    if (pattern < 0) return false;
    InputTable times = state.m_tables.m_nSeqTime[static_cast<size_t>(pattern - 1)];
    for (int c = 0; c < n; ++c) {
        times[c] = NumberField(body, 5 + 2 * static_cast<size_t>(c), 0, kMaxSeqTime);
        if (times[c] < 0) return false;
    }
    // A sequence that skips every channel would have nothing to show.
    if (std::all_of(times.begin(), times.begin() + n, [](int t) { return t == 0; })) return false;
    state.m_tables.m_nSeqTime[static_cast<size_t>(pattern - 1)] = times;
    return true;
}

bool SetOutputs(std::string_view body, CSwitcherState& state) {
    if (body.size() != 2 + kSourceFieldsLength) return false;
    auto row = SourceFields(body, 2, state.Inputs());
    if (!row) return false;
    state.m_nDirectRow = *row;
    state.m_nCurMemory = 0;  // the outputs no longer follow a stored memory
    return true;
}

bool SetMemoryPattern(std::string_view body, CSwitcherState& state) {
    if (body.size() != 4 + kSourceFieldsLength) return false;
    int memory = NumberField(body, 2, 1, kPatterns);
    auto row = SourceFields(body, 4, state.Inputs());
    if (memory < 0 || !row) return false;
    MemoryRow(state, memory) = *row;
    return true;
}

bool RecallMemory(std::string_view body, CSwitcherState& state) {
    if (body.size() != 5) return false;
    int memory = NumberField(body, 3, 1, kPatterns);
    if (memory < 0) return false;
    state.m_nCurMemory = memory;
    state.m_nDirectRow = MemoryRow(state, memory);
    return true;
}
