#include "cli/profile_report.h"

#include "cli/cli_sink.h"
#include "link/link_context.h"

std::string ProfileFaultMessage(const CProfileFault& fault) {
    const char* what = fault.kind == CProfileFault::Kind::kRead ? "read" : "write";
    return std::string("cannot ") + what + " the profile " + fault.strPath + ": " + fault.strReason;
}

void ReadProfileSettings(const CCliOptions& options) {
    if (!options.strProfile.empty()) Link().SetProfilePath(options.strProfile);
    const CCommSettingsRead read = ReadCommSettings();
    if (read.fault) {
        std::string text = ProfileFaultMessage(*read.fault) + "; using the defaults";
        if (options.strPort.empty()) text += ", the port is COM1's default " + DefaultPortPath(0);
        PrintError(text);
    }
    for (const auto& note : read.notes) PrintError(note);
}
