// qelvarctl scan: which switchers answer on the line, and their models.
#include <unistd.h>

#include <cstdio>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/link_session.h"
#include "link/bus_scan.h"
#include "link/comm_settings.h"
#include "protocol/fields.h"

namespace {

constexpr int kMaxTimeoutMs = 10000;

void PrintAnswer(const CScanAnswer& answer) {
    if (answer.nAddress >= 0) {
        std::printf("%s %s\n", TwoDigits(answer.nAddress).c_str(), AnswerModelText(answer).c_str());
    } else {
        std::printf("%s\n", AnswerModelText(answer).c_str());
    }
}

// The one switcher the options name, at its address on RS-485.
int AskOne(int timeoutMs) {
    const auto answer = ProbeSwitcher(timeoutMs);
    if (answer) {
        PrintAnswer(*answer);
        return kExitOk;
    }
    PrintError("the switcher on " + SwitcherWhere() + " did not answer");
    return kExitNoReply;
}

}  // namespace

int RunScan(const CCliOptions& options) {
    CCommandArgs args(options.args);
    int timeoutMs = kDefaultScanTimeoutMs;
    std::optional<int> given;
    if (auto text = args.Value("--timeout")) {
        given = ParseNumber(*text, 1, kMaxTimeoutMs);
        if (!given) {
            PrintError("--timeout takes milliseconds, 1.." + std::to_string(kMaxTimeoutMs));
            return kExitUsage;
        }
        timeoutMs = *given;
    }
    const bool single = args.Flag("--single");
    if (!args.Positional().empty() || !args.Error().empty()) {
        PrintError(args.Error().empty() ? "usage: qelvarctl scan [--single] [--timeout MS]"
                                        : args.Error());
        return kExitUsage;
    }
    ApplyLinkSettings(options);
    CLinkSession link(options);
    if (!link.IsOpen()) return kExitCannotOpen;
    if (single) return AskOne(given.value_or(kModelProbeTimeoutMs));

    const bool bProgress = g_bRs485 && ::isatty(STDERR_FILENO);
    auto answers = RunBusScan(g_bRs485 != 0, timeoutMs, [&](int asked, int total) {
        if (bProgress) std::fprintf(stderr, "\rscanning: %d of %d addresses", asked, total);
    });
    if (bProgress) std::fprintf(stderr, "\r%40s\r", "");
    for (const auto& answer : answers) PrintAnswer(answer);
    if (!answers.empty()) return kExitOk;
    PrintError(g_bRs485 ? "no switcher answered on any address 00..31"
                        : "the switcher did not answer");
    return kExitNoReply;
}
