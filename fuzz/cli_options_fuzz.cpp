// qelvarctl's command line: any argument vector, split at NUL bytes. The
// global options come out in range, the command and its arguments are the
// tail of the vector, and each command's own options take nothing but what
// they name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/run_cycle.h"
#include "editors/calendar_send.h"
#include "fuzz/fuzz_check.h"
#include "sim/switcher_bus.h"

namespace {

std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size) {
    std::vector<std::string> args{"qelvarctl"};
    std::string arg;
    for (size_t i = 0; i < size; ++i) {
        if (data[i]) {
            arg += static_cast<char>(data[i]);
        } else {
            args.push_back(std::exchange(arg, {}));
        }
    }
    if (!arg.empty()) args.push_back(arg);
    return args;
}

// The six clock lines qelvarctl clock would send for the time: each is whole or empty.
void CheckClockTime(const std::string& at) {
    const auto time = ParseClockTime(at);
    if (!time) return;
    const CCalendarSelection s = CalendarSelectionFor(*time);
    const int indexes[] = {s.nYear, s.nMonth, s.nDay, s.nHour, s.nMinute, s.nSecond};
    for (int item = 0; item < 6; ++item) {
        const std::string line = CalendarLine(static_cast<CalendarItem>(item), indexes[item]);
        FUZZ_CHECK(line.empty() || line.size() == 7);
    }
}

// Reads every option of every command from args; whatever is left is positional.
void CheckCommandArgs(const std::vector<std::string>& args) {
    CCommandArgs a(args);
    a.Flag("--dry-run");
    a.Value("--base");
    if (auto at = a.Value("--at")) CheckClockTime(*at);
    a.Value("--state");
    a.Value("--error-at");
    a.Flag("--silent");
    a.Flag("--split");
    a.Flag("--no-model-check");
    for (const auto& text : a.Values("--switcher")) {
        if (auto sw = ParseBusSwitcher(text, 0)) {
            FUZZ_CHECK(sw->bRs485 && sw->nAddress >= 0 && sw->nAddress <= 31);
            FUZZ_CHECK(sw->nModel == 0 || sw->nModel == 1);
        }
    }
    if (auto timeout = a.Value("--timeout")) {
        FUZZ_CHECK(ParseNumber(*timeout, 1, 10000).value_or(1) >= 1);
    }
    if (auto delay = a.Value("--delay")) FUZZ_CHECK(ParseNumber(*delay, 0, 60000).value_or(0) >= 0);
    if (auto model = a.Value("--model")) FUZZ_CHECK(ParseModel(*model).value_or(0) <= 1);
    if (auto address = a.Value("--address")) {
        auto n = ParseNumber(*address, 0, 31);
        FUZZ_CHECK(!n || (*n >= 0 && *n <= 31));
    }
    CRunSettings run;
    CCliOptions lines;
    lines.bProgressLines = true;
    if (TakeRunOptions(lines, a, run)) {
        FUZZ_CHECK(run.nIntervalMs >= 1 && run.nIntervalMs <= 60000);
        FUZZ_CHECK(run.bProgressLines && !run.bProgress);  // one kind of progress at a time
    }
    const auto left = a.Positional();
    FUZZ_CHECK(left.size() <= args.size());
    for (const auto& arg : left) {
        FUZZ_CHECK(std::find(args.begin(), args.end(), arg) != args.end());
        if (a.Error().empty()) FUZZ_CHECK(!arg.starts_with("--"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args = SplitAtNul(data, size);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    CCliOptions o;
    std::string error;
    const bool ok = ParseCliOptions(static_cast<int>(args.size()), argv.data(), o, error);
    FUZZ_CHECK(ok == error.empty());
    if (!ok) return 0;
    FUZZ_CHECK(!o.strCommand.empty() || o.bHelp || o.bVersion);
    FUZZ_CHECK(o.nInterface >= -1 && o.nInterface <= 1);
    FUZZ_CHECK(o.nAddress >= 0 && o.nAddress <= 31);
    FUZZ_CHECK(o.nModel >= -1 && o.nModel <= 1);
    FUZZ_CHECK(!o.strCommand.starts_with("-"));
    FUZZ_CHECK(o.args.size() < args.size());
    FUZZ_CHECK(std::equal(o.args.rbegin(), o.args.rend(), args.rbegin()));
    if (!o.strCommand.empty()) FUZZ_CHECK(args[args.size() - o.args.size() - 1] == o.strCommand);
    HelpText(o.strCommand);
    CheckCommandArgs(o.args);
    return 0;
}
