#include "cli/model_check.h"

#include "cli/cli_sink.h"
#include "link/bus_scan.h"
#include "model/settings_model.h"
#include "protocol/switcher_model.h"

std::string ModelSource(const CCliOptions& options, bool bFileLoaded) {
    if (options.nModel >= 0) return "--model";
    return bFileLoaded ? "the file" : "the profile";
}

void WarnOnModelMismatch(const std::string& modelSource) {
    const std::optional<CScanAnswer> answer = ProbeSwitcher();
    if (!answer || answer->nModel < 0 || answer->nModel == g_nModel) return;
    PrintError("warning: " + ModelMismatchText("the switcher on " + SwitcherWhere(), answer->nModel,
                                               modelSource, g_nModel));
}
