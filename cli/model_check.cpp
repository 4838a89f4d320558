#include "cli/model_check.h"

#include "cli/cli_sink.h"
#include "link/bus_scan.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/switcher_model.h"

std::string ModelSource(const CCliOptions& options, bool bFileLoaded) {
    if (options.nModel >= 0) return "--model";
    return bFileLoaded ? "the file" : "the profile";
}

void WarnOnModelMismatch(const std::string& modelSource) {
    const std::optional<CScanAnswer> answer = ProbeSwitcher();
    if (!answer || answer->nModel < 0 || answer->nModel == g_nModel) return;
    std::string where = Link().Port() ? Link().Port()->Description() : CommPortPath();
    if (g_bRs485) where += " address " + TwoDigits(g_nSlaveAddress);
    PrintError("warning: the switcher on " + where + " is a " + ModelName(answer->nModel) +
               ", but " + modelSource + " says " + ModelName(g_nModel));
}
