#include "sim/read_commands.h"

#include "protocol/calendar_lines.h"
#include "protocol/display_lines.h"
#include "protocol/routing_lines.h"
#include "protocol/sequence_lines.h"
#include "protocol/title_lines.h"

std::string AnswerRead(const CReadRequest& request, const CSwitcherState& state) {
    const CSettingsTables& t = state.m_tables;
    const int n = state.Inputs();
    const int number = request.nNumber;
    switch (request.item) {
        case DataLine::kSeqPattern:
            return FormatSeqPatternLine(number - 1, t.m_nSeqTime[static_cast<size_t>(number - 1)],
                                        n);
        case DataLine::kMemoryPattern:
            return FormatMemoryPatternLine(number, t.m_nPattern[static_cast<size_t>(number)], n);
        case DataLine::kOutputs:
            return FormatOutputsLine(t.m_nPattern[kDirectRow], n);
        case DataLine::kCurMemory:
            return FormatMemoryRecallLine(t.m_nCurMemory);  // "OTP00" when none is recalled
        case DataLine::kTitle:
            return FormatTitleTextLine(number - 1, t.m_strTitle[static_cast<size_t>(number - 1)]);
        case DataLine::kDateFormat:
            return FormatDateFormatLine(t.m_nDateFormat);
        default:
            break;
    }
    // The five display switch tables.
    const auto which = DisplaySwitchOfTag(DataLineTag(request.item));
    return which ? FormatDisplaySwitchLine(*which, SwitchTable(*which, t), n) : std::string();
}
