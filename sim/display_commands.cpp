// CA and the five display switch tables: titles and where things are shown.
#include <algorithm>

#include "protocol/display_lines.h"
#include "protocol/title_lines.h"
#include "sim/set_commands.h"

bool SetTitle(std::string_view body, CSwitcherState& state) {
    auto parsed = ParseTitleCommand(body, state.Inputs());
    if (!parsed) return false;
    state.m_tables.m_strTitle[static_cast<size_t>(parsed->nChannel)] = std::move(parsed->text);
    return true;
}

bool SetDisplaySwitch(std::string_view body, CSwitcherState& state) {
    auto which = DisplaySwitchOfTag(body);
    if (!which) return false;
    auto entries = ParseDisplaySwitchCommand(*which, body, state.Inputs());
    if (!entries) return false;
    std::span<int> table = SwitchTable(*which, state.m_tables);
    std::copy_n(entries->begin(), SwitchEntries(*which, state.Inputs()), table.begin());
    return true;
}
