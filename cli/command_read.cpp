// qelvarctl read OUT.dat: the maintenance read-back into a settings file.
#include <cstdio>

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "cli/commands.h"
#include "cli/compare_run.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "cli/model_check.h"
#include "cli/run_cycle.h"
#include "cli/temp_file_cleanup.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

namespace {

// The switcher's current memory and direct switching, as read back.
void PrintCurrentSwitching() {
    std::string memory = g_nCurMemory == 0 ? "None" : TwoDigits(g_nCurMemory);
    std::string outputs;
    for (int out = 0; out < kOutputs; ++out) {
        if (out) outputs += ",";
        outputs += SourceCodeText(g_nPattern[0][out], InputChannelCount());
    }
    std::printf("memory=%s\noutputs=%s\n", memory.c_str(), outputs.c_str());
}

}  // namespace

int RunRead(const CCliOptions& options) {
    CCommandArgs args(options.args);
    CRunSettings run;
    auto base = args.Value("--base");
    const bool bModelCheck = !args.Flag("--no-model-check");
    bool paced = TakeRunOptions(options, args, run);
    auto files = args.Positional();
    if (!paced || !args.Error().empty() || files.size() != 1) {
        PrintError(args.Error().empty()
                       ? "usage: qelvarctl read OUT.dat [--base IN.dat] [--interval MS] "
                         "[--pace ack|timer] [--no-model-check]"
                       : args.Error());
        return kExitUsage;
    }
    ApplyLinkSettings(options);
    if (base && !LoadRunFile(options, *base)) return kExitCannotOpen;
    int status;
    {
        CLinkSession link(options);
        if (!link.IsOpen()) return kExitCannotOpen;
        if (bModelCheck) WarnOnModelMismatch(ModelSource(options, base.has_value()));
        CSendCycle cycle(ReadBackSteps());
        status = RunCycle(cycle, run);
    }
    if (status != kExitOk) return status;  // nothing is written from a failed read
    // A file of what did not come back would pass for a backup of the switcher.
    if (!ReportUnread()) return kExitNoReply;
    ApplyReadCopy();
    CTempFileCleanup cleanup;  // an interrupted save leaves no temporary file
    if (!SaveSettingsFile(files[0], &cleanup)) return kExitCannotOpen;
    PrintCurrentSwitching();
    return kExitOk;
}
