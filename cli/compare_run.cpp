#include "cli/compare_run.h"

#include <cstdio>

#include "batch/cycle_steps.h"
#include "batch/settings_compare.h"
#include "cli/diff_report.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "protocol/visible_text.h"

bool ReportUnread() {
    const auto missing = UnreadRequests();
    if (missing.empty()) return true;
    std::string text = "no readable answer to " + ReadRequestList(missing);
    if (Link().Echoes() > 0) text += "; " + EchoText();
    PrintError(text);
    return false;
}

int CompareWithSwitcher(const CRunSettings& run, CompareScope scope, DiffOutput output) {
    CSendCycle cycle(CompareReadSteps());
    const int status = RunCycle(cycle, run);
    if (status != kExitOk) return status;
    // Entries without an answer cannot be compared, and must not pass as equal.
    if (!ReportUnread()) return kExitNoReply;
    const CCompareResult result = CompareWithReadCopy(scope);
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
