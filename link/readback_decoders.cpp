#include "link/readback_decoders.h"

#include <algorithm>
#include <span>

#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/calendar_lines.h"
#include "protocol/display_lines.h"
#include "protocol/fields.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/title_lines.h"

namespace {

using Target = CSettingsTables&;

// The entries a switch line carries replace the table's first ones. A line is
// read with the channel count of the settings it lands in.
bool Switch(DisplaySwitch which, std::string_view line, int nInputs, std::span<int> table) {
    const int count = SwitchEntries(which, nInputs);
    auto entries = ParseDisplaySwitchData(which, LineBody(line), nInputs);
    if (!entries) return false;
    std::copy_n(entries->begin(), count, table.begin());
    return true;
}

bool SeqTimes(std::string_view line, Target t) {
    auto parsed = ParseSeqPatternData(LineBody(line), InputChannels(t));
    if (!parsed) return false;
    std::copy_n(parsed->times.begin(), InputChannels(t), t.m_nSeqTime[parsed->nPattern].begin());
    return true;
}

bool Title(std::string_view line, Target t) {
    auto parsed = ParseTitleData(LineBody(line), InputChannels(t));
    if (!parsed) return false;
    t.m_strTitle[parsed->nChannel] = std::move(parsed->text);
    return true;
}

bool CurMemory(std::string_view line, Target t) {
    auto memory = ParseCurMemoryData(LineBody(line));
    if (!memory) return false;
    t.m_nCurMemory = *memory;  // "00" is row 0, the direct-switching row
    return true;
}

bool Outputs(std::string_view line, Target t) {
    auto row = ParseOutputsData(LineBody(line), InputChannels(t));
    if (!row) return false;
    t.m_nPattern[kDirectRow] = *row;
    return true;
}

bool Pattern(std::string_view line, Target t) {
    auto parsed = ParseMemoryPatternData(LineBody(line), InputChannels(t));
    if (!parsed) return false;
    t.m_nPattern[parsed->nMemory] = parsed->row;  // memory 01..64 is its own row
    return true;
}

bool DateFormat(std::string_view line, Target t) {
    auto format = ParseDateFormatData(LineBody(line));
    if (!format) return false;
    t.m_nDateFormat = *format;
    return true;
}

bool Apply(DataLine kind, std::string_view line, Target t) {
    switch (kind) {
        case DataLine::kSeqPattern:
            return SeqTimes(line, t);
        case DataLine::kTitle:
            return Title(line, t);
        case DataLine::kTitlePositions:
            return Switch(DisplaySwitch::kTitlePosition, line, InputChannels(t),
                          t.m_nTitlePosition);
        case DataLine::kInTitleDisp:
            return Switch(DisplaySwitch::kInTitle, line, InputChannels(t), t.m_nInTitleDisp);
        case DataLine::kOutTitleDisp:
            return Switch(DisplaySwitch::kOutTitle, line, InputChannels(t), t.m_nOutTitleDisp);
        case DataLine::kCurMemory:
            return CurMemory(line, t);
        case DataLine::kOutputs:
            return Outputs(line, t);
        case DataLine::kMemoryPattern:
            return Pattern(line, t);
        case DataLine::kInCalendarDisp:
            return Switch(DisplaySwitch::kInCalendar, line, InputChannels(t), t.m_nInCalendarDisp);
        case DataLine::kOutCalendarDisp:
            return Switch(DisplaySwitch::kOutCalendar, line, InputChannels(t),
                          t.m_nOutCalendarDisp);
        case DataLine::kDateFormat:
            return DateFormat(line, t);
    }
    return false;
}

bool IntoModel(DataLine kind, std::string_view line) {
    return Apply(kind, line, g_settings);
}

}  // namespace

bool DecodeSeqTimes(std::string_view line) {
    return IntoModel(DataLine::kSeqPattern, line);
}
bool DecodeTitle(std::string_view line) {
    return IntoModel(DataLine::kTitle, line);
}
bool DecodeTitlePositions(std::string_view line) {
    return IntoModel(DataLine::kTitlePositions, line);
}
bool DecodeInTitleDisp(std::string_view line) {
    return IntoModel(DataLine::kInTitleDisp, line);
}
bool DecodeOutTitleDisp(std::string_view line) {
    return IntoModel(DataLine::kOutTitleDisp, line);
}
bool DecodeCurMemory(std::string_view line) {
    return IntoModel(DataLine::kCurMemory, line);
}
bool DecodeOutputs(std::string_view line) {
    return IntoModel(DataLine::kOutputs, line);
}
bool DecodePattern(std::string_view line) {
    return IntoModel(DataLine::kMemoryPattern, line);
}
bool DecodeInCalendarDisp(std::string_view line) {
    return IntoModel(DataLine::kInCalendarDisp, line);
}
bool DecodeOutCalendarDisp(std::string_view line) {
    return IntoModel(DataLine::kOutCalendarDisp, line);
}
bool DecodeDateFormat(std::string_view line) {
    return IntoModel(DataLine::kDateFormat, line);
}

bool DecodeDataLineInto(DataLine kind, std::string_view line, CSettingsTables& tables) {
    return Apply(kind, line, tables);
}

bool DecodeDataLine(DataLine kind, std::string_view line) {
    CReadBackCopy* copy = Link().ReadCopy();
    if (!DecodeDataLineInto(kind, line, copy ? copy->m_tables : g_settings)) return false;
    if (copy) {
        const int number = IsNumberedDataLine(kind)
                               ? PairAt(LineBody(line), DataLineTag(kind).size()).value_or(-1)
                               : 0;
        copy->NoteLanded(kind, number);
    }
    return true;
}
