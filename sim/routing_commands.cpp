// AST, OT, TP and OTP: what the switcher shows on its outputs.
#include <algorithm>

#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "sim/set_commands.h"

bool SetSeqPattern(std::string_view body, CSwitcherState& state) {
    const int n = state.Inputs();
    auto parsed = ParseSeqPatternCommand(body, n);
    // A sequence that skips every channel would have nothing to show.
    if (!parsed || IsAllSkip(parsed->times, n)) return false;
    InputTable& times = state.m_tables.m_nSeqTime[static_cast<size_t>(parsed->nPattern)];
    std::copy_n(parsed->times.begin(), n, times.begin());
    return true;
}

bool SetOutputs(std::string_view body, CSwitcherState& state) {
    auto row = ParseOutputsCommand(body, state.Inputs());
    if (!row) return false;
    state.m_tables.m_nPattern[kDirectRow] = *row;
    state.m_tables.m_nCurMemory = 0;  // the outputs no longer follow a stored memory
    return true;
}

bool SetMemoryPattern(std::string_view body, CSwitcherState& state) {
    auto parsed = ParseMemoryPatternCommand(body, state.Inputs());
    if (!parsed) return false;
    state.m_tables.m_nPattern[static_cast<size_t>(parsed->nMemory)] = parsed->row;
    return true;
}

bool RecallMemory(std::string_view body, CSwitcherState& state) {
    auto memory = ParseMemoryRecallCommand(body);
    if (!memory) return false;
    CSettingsTables& t = state.m_tables;
    t.m_nCurMemory = *memory;
    t.m_nPattern[kDirectRow] = t.m_nPattern[static_cast<size_t>(*memory)];
    return true;
}
