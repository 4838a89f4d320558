#include "link/readback_decoders.h"

#include <algorithm>
#include <span>

#include "model/settings_model.h"
#include "protocol/calendar_lines.h"
#include "protocol/display_lines.h"
#include "protocol/fields.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/title_lines.h"

namespace {

// The entries a switch line carries replace the table's first ones.
bool DecodeSwitch(DisplaySwitch which, std::string_view line, std::span<int> table) {
    const int count = SwitchEntries(which, InputChannelCount());
    auto entries = ParseDisplaySwitchData(which, LineBody(line), InputChannelCount());
    if (!entries) return false;
    std::copy_n(entries->begin(), count, table.begin());
    return true;
}

}  // namespace

bool DecodeSeqTimes(std::string_view line) {
    auto parsed = ParseSeqPatternData(LineBody(line), InputChannelCount());
    if (!parsed) return false;
    std::copy_n(parsed->times.begin(), InputChannelCount(), g_nSeqTime[parsed->nPattern].begin());
    return true;
}

bool DecodeTitle(std::string_view line) {
    auto parsed = ParseTitleData(LineBody(line), InputChannelCount());
    if (!parsed) return false;
    g_strTitle[parsed->nChannel] = std::move(parsed->text);
    return true;
}

bool DecodeTitlePositions(std::string_view line) {
    return DecodeSwitch(DisplaySwitch::kTitlePosition, line, g_nTitlePosition);
}

bool DecodeInTitleDisp(std::string_view line) {
    return DecodeSwitch(DisplaySwitch::kInTitle, line, g_nInTitleDisp);
}

bool DecodeOutTitleDisp(std::string_view line) {
    return DecodeSwitch(DisplaySwitch::kOutTitle, line, g_nOutTitleDisp);
}

bool DecodeCurMemory(std::string_view line) {
    auto memory = ParseCurMemoryData(LineBody(line));
    if (!memory) return false;
    g_nCurMemory = *memory;  // "00" is row 0, the direct-switching row
    return true;
}

bool DecodeOutputs(std::string_view line) {
    auto row = ParseOutputsData(LineBody(line), InputChannelCount());
    if (!row) return false;
    g_nPattern[0] = *row;
    return true;
}

bool DecodePattern(std::string_view line) {
    auto parsed = ParseMemoryPatternData(LineBody(line), InputChannelCount());
    if (!parsed) return false;
    g_nPattern[parsed->nMemory] = parsed->row;  // memory 01..64 is row 01..64
    return true;
}

bool DecodeInCalendarDisp(std::string_view line) {
    return DecodeSwitch(DisplaySwitch::kInCalendar, line, g_nInCalendarDisp);
}

bool DecodeOutCalendarDisp(std::string_view line) {
    return DecodeSwitch(DisplaySwitch::kOutCalendar, line, g_nOutCalendarDisp);
}

bool DecodeDateFormat(std::string_view line) {
    auto format = ParseDateFormatData(LineBody(line));
    if (!format) return false;
    g_nDateFormat = *format;
    return true;
}

bool DecodeDataLine(DataLine kind, std::string_view line) {
    // In the order of DataLine.
    static constexpr bool (*kDecoders[])(std::string_view) = {
        DecodeSeqTimes,       DecodeTitle,           DecodeTitlePositions, DecodeInTitleDisp,
        DecodeOutTitleDisp,   DecodeCurMemory,       DecodeOutputs,        DecodePattern,
        DecodeInCalendarDisp, DecodeOutCalendarDisp, DecodeDateFormat,
    };
    return kDecoders[static_cast<int>(kind)](line);
}
