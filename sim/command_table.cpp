#include "sim/command_table.h"

namespace {

const CCommandEntry kCommands[] = {
    {"AST", SetSeqPattern},    {"OT", SetOutputs},        {"OTP", RecallMemory},
    {"TP", SetMemoryPattern},  {"CA", SetTitle},          {"CTI", SetDisplaySwitch},
    {"CTO", SetDisplaySwitch}, {"CPI", SetDisplaySwitch}, {"TSI", SetDisplaySwitch},
    {"TSO", SetDisplaySwitch}, {"DSY", SetClockField},    {"DSM", SetClockField},
    {"DSD", SetClockField},    {"TSH", SetClockField},    {"TSM", SetClockField},
    {"TSS", SetClockField},    {"TSA", Adjust30Sec},      {"TSD", SetDateFormat},
    {"SA", SetSlaveAddress},
};

}  // namespace

const CCommandEntry* FindCommand(std::string_view body) {
    const CCommandEntry* best = nullptr;
    for (const auto& entry : kCommands) {
        if (body.starts_with(entry.tag) && (!best || entry.tag.size() > best->tag.size())) {
            best = &entry;
        }
    }
    return best;
}
