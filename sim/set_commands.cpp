#include "sim/set_commands.h"

namespace {

// Each parser knows its own tag and layout, and no line fits two of them.
constexpr SetHandler kSetHandlers[] = {
    SetSeqPattern,    SetOutputs,    SetMemoryPattern, RecallMemory,  SetTitle,
    SetDisplaySwitch, SetClockField, Adjust30Sec,      SetDateFormat, SetSlaveAddress,
};

}  // namespace

bool ApplySetCommand(std::string_view body, CSwitcherState& state) {
    for (SetHandler handler : kSetHandlers) {
        if (handler(body, state)) return true;
    }
    return false;
}
