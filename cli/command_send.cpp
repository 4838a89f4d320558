// qelvarctl send FILE.dat: the all-items transmission of a settings file.
#include <cstdio>
#include <optional>

#include "batch/cycle_steps.h"
#include "cli/commands.h"
#include "cli/compare_run.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/model_check.h"
#include "cli/run_cycle.h"
#include "link/link_context.h"
#include "model/settings_file.h"
#include "model/settings_model.h"

int RunSend(const CCliOptions& options) {
    CCommandArgs args(options.args);
    CRunSettings run;
    run.bDryRun = args.Flag("--dry-run");
    const bool bModelCheck = !args.Flag("--no-model-check");
    const bool verify = args.Flag("--verify");
    bool paced = TakeRunOptions(options, args, run);
    auto files = args.Positional();
    if (!paced || !args.Error().empty() || files.size() != 1 || (verify && run.bDryRun)) {
        PrintError(args.Error().empty()
                       ? "usage: qelvarctl send FILE.dat [--interval MS] "
                         "[--pace ack|timer] [--dry-run | --verify] [--no-model-check]"
                       : args.Error());
        return kExitUsage;
    }
    ApplyLinkSettings(options);
    if (!LoadRunFile(options, files[0])) return kExitCannotOpen;

    std::optional<CLinkSession> link;
    if (run.bDryRun) {
        run.bProgress = false;
        Link().SetLineTap(
            [](std::string_view line) { std::fwrite(line.data(), 1, line.size(), stdout); });
    } else if (!link.emplace(options).IsOpen()) {
        return kExitCannotOpen;
    } else if (bModelCheck) {
        WarnOnModelMismatch(ModelSource(options, true));
    }
    CSendCycle cycle(AllItemsSteps());
    int status = RunCycle(cycle, run);
    if (run.bDryRun) Link().SetLineTap({});
    if (!verify || (status != kExitOk && status != kExitRefused)) return status;
    // What the run sends, and no more: it does not carry the date format.
    const int verified = CompareWithSwitcher(run, CompareScope::kAllItemsRun, DiffOutput::kLines);
    if (verified == kExitDiffers) PrintError("the switcher does not hold what was sent");
    return verified == kExitOk ? status : verified;
}
