// qelvarctl diff FILE.dat: what the switcher holds against a settings file.
#include "cli/commands.h"
#include "cli/compare_run.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/model_check.h"
#include "cli/run_cycle.h"
#include "model/settings_file.h"
#include "model/settings_model.h"

int RunDiff(const CCliOptions& options) {
    CCommandArgs args(options.args);
    CRunSettings run;
    run.bAckPace = true;  // nothing is gained by waiting longer than the switcher needs
    const bool json = args.Flag("--json");
    const bool bModelCheck = !args.Flag("--no-model-check");
    const bool paced = TakeRunOptions(options, args, run);
    auto files = args.Positional();
    if (!paced || !args.Error().empty() || files.size() != 1) {
        PrintError(args.Error().empty() ? "usage: qelvarctl diff FILE.dat [--json] [--interval MS] "
                                          "[--pace ack|timer] [--no-model-check]"
                                        : args.Error());
        return kExitUsage;
    }
    ApplyLinkSettings(options);
    if (!LoadRunFile(options, files[0])) return kExitCannotOpen;
    CLinkSession link(options);
    if (!link.IsOpen()) return kExitCannotOpen;
    if (bModelCheck) WarnOnModelMismatch(ModelSource(options, true));
    return CompareWithSwitcher(run, CompareScope::kEverythingRead,
                               json ? DiffOutput::kJson : DiffOutput::kLines);
}
