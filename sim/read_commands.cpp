#include "sim/read_commands.h"

#include "editors/auto_sequence_send.h"
#include "editors/calendar_send.h"
#include "editors/display_send.h"
#include "editors/pattern_output_send.h"
#include "sim/command_fields.h"
#include "sim/title_codes.h"

namespace {

// The number nn of a request "<tag>nn" whose tag is tagLength long, or -1.
int RequestNumber(std::string_view body, size_t tagLength, int nHigh) {
    if (body.size() != tagLength + 2) return -1;
    return NumberField(body, tagLength, 1, nHigh);
}

struct CSwitchRead {
    std::string_view request;
    const char* tag;
    char chOff;
    char chOn;
    bool bInputSide;
    const int* table;
};

}  // namespace

std::optional<std::string> ReadSeqPattern(std::string_view body, const CSwitcherState& state) {
    int pattern = RequestNumber(body, 4, kPatterns);
    if (pattern < 0) return std::nullopt;
    return FormatSeqPatternLine(pattern - 1, state.m_tables.m_nSeqTime[pattern - 1],
                                state.Inputs());
}

std::optional<std::string> ReadMemoryPattern(std::string_view body, const CSwitcherState& state) {
    int memory = RequestNumber(body, 3, kPatterns);
    if (memory < 0) return std::nullopt;
    return FormatMemoryPatternLine(memory, MemoryRow(state, memory), state.Inputs());
}

std::optional<std::string> ReadOutputs(std::string_view body, const CSwitcherState& state) {
    if (body.size() != 3) return std::nullopt;
    return FormatOutputsLine(state.m_nDirectRow, state.Inputs());
}

std::optional<std::string> ReadCurMemory(std::string_view body, const CSwitcherState& state) {
    if (body.size() != 4) return std::nullopt;
    return FormatMemoryRecallLine(state.m_nCurMemory);  // "OTP00" when none is recalled
}

std::optional<std::string> ReadTitle(std::string_view body, const CSwitcherState& state) {
    int channel = RequestNumber(body, 3, state.Inputs());
    if (channel < 0) return std::nullopt;
    return FormatTitleLine(channel - 1, TitleCodes(state.m_tables.m_strTitle[channel - 1]));
}

std::optional<std::string> ReadDisplaySwitch(std::string_view body, const CSwitcherState& state) {
    const CSettingsTables& t = state.m_tables;
    const CSwitchRead reads[] = {
        {"RCTI", "CTI", 'F', 'N', true, t.m_nInTitleDisp.data()},
        {"RCTO", "CTO", 'F', 'N', false, t.m_nOutTitleDisp.data()},
        {"RCPI", "CPI", 'T', 'B', true, t.m_nTitlePosition.data()},
        {"RTSI", "TSI", 'F', 'N', true, t.m_nInCalendarDisp.data()},
        {"RTSO", "TSO", 'F', 'N', false, t.m_nOutCalendarDisp.data()},
    };
    for (const auto& read : reads) {
        if (body != read.request) continue;
        int count = read.bInputSide ? state.Inputs() : kOutputs;
        return FormatDisplaySwitchLine(read.tag, read.table, count, read.chOff, read.chOn);
    }
    return std::nullopt;
}

std::optional<std::string> ReadDateFormat(std::string_view body, const CSwitcherState& state) {
    if (body.size() != 4) return std::nullopt;
    return CalendarLine(CalendarItem::kDisplay, state.m_tables.m_nDateFormat);
}
