#include "cli/compare_run.h"

#include <cstdio>

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "cli/diff_report.h"
#include "cli/exit_codes.h"
#include "model/settings_model.h"
#include "protocol/visible_text.h"

int CompareWithSwitcher(const CRunSettings& run, CCliSink& sink, CompareScope scope,
                        DiffOutput output) {
    CSendCycle cycle(CompareReadSteps());
    const int status = RunCycle(cycle, run, sink);
    if (status != kExitOk) return status;
    const CCompareResult result = CompareWithReadCopy(scope);
    if (!result.Complete()) {
        // Entries without an answer cannot be compared, and must not pass as equal.
        PrintError("no readable answer to " + ReadRequestList(result.missing));
        return kExitNoReply;
    }
    const int n = InputChannelCount();
    if (output == DiffOutput::kJson) {
        std::fputs(DifferencesJson(result.differences, n).c_str(), stdout);
    } else {
        for (const auto& diff : result.differences) {
            std::printf("%s\n", VisibleText(DifferenceLine(diff, n)).c_str());
        }
    }
    return result.differences.empty() ? kExitOk : kExitDiffers;
}
