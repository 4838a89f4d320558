#include "protocol/switcher_model.h"

#include "protocol/display_lines.h"
#include "protocol/read_lines.h"

std::string ModelProbeCommand() {
    return FormatReadCommand({DataLine::kTitlePositions, 0});
}

std::optional<int> ModelOfTitlePositionData(std::string_view body) {
    for (int nModel : {0, 1}) {
        const int nInputs = 32 * (nModel + 1);
        if (ParseDisplaySwitchCommand(DisplaySwitch::kTitlePosition, body, nInputs)) return nModel;
    }
    return std::nullopt;
}

const char* ModelName(int nModel) {
    return nModel == 1 ? "Qelvar-64" : "Qelvar-32";
}

std::string ModelMismatchText(const std::string& who, int nIs, const std::string& source,
                              int nSays) {
    return who + " is a " + ModelName(nIs) + ", but " + source + " says " + ModelName(nSays);
}
