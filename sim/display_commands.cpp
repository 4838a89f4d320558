// CA and the five display switch tables: titles and where things are shown.
#include <optional>
#include <span>

#include "sim/command_fields.h"
#include "sim/set_commands.h"
#include "sim/title_codes.h"

namespace {

struct CSwitchTable {
    std::string_view tag;
    char chOff;
    char chOn;
    bool bInputSide;  // entries in use follow the model; outputs are always 32
    std::span<int> table;
};

std::optional<CSwitchTable> SwitchTableFor(std::string_view tag, CSettingsTables& t) {
    const CSwitchTable tables[] = {
        {"CTI", 'F', 'N', true, t.m_nInTitleDisp},
        {"CTO", 'F', 'N', false, t.m_nOutTitleDisp},
        {"CPI", 'T', 'B', true, t.m_nTitlePosition},
        {"TSI", 'F', 'N', true, t.m_nInCalendarDisp},
        {"TSO", 'F', 'N', false, t.m_nOutCalendarDisp},
    };
    for (const auto& entry : tables) {
        if (entry.tag == tag) return entry;
    }
    return std::nullopt;
}

}  // namespace

bool SetTitle(std::string_view body, CSwitcherState& state) {
    if (body.size() != 4 + 4 * static_cast<size_t>(kTitleChars)) return false;
    int channel = NumberField(body, 2, 1, state.Inputs());
    auto codes = ParseTitleCodes(body.substr(4));
    if (channel < 0 || !codes) return false;
    state.m_tables.m_strTitle[static_cast<size_t>(channel - 1)] = TitleText(*codes);
    return true;
}

bool SetDisplaySwitch(std::string_view body, CSwitcherState& state) {
    auto entry = SwitchTableFor(body.substr(0, 3), state.m_tables);
    if (!entry) return false;
    const size_t count = entry->bInputSide ? static_cast<size_t>(state.Inputs()) : kOutputs;
    if (body.size() != 3 + count) return false;
    return FlagFields(body.substr(3), entry->chOff, entry->chOn, entry->table);
}
