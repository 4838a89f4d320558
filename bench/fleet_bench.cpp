// qelvarctl fleet send --verify against virtual switchers that keep to the
// 9600-baud wire time, on the fleet tests' four lines (an RS-485 bus of three
// on a pseudo-terminal, one behind ser2net's raw TCP port, one behind its
// RFC 2217 port, and one RS-232C switcher): each line alone, the four at once
// against the slowest of them, and the pseudo-terminal bus as three commands
// run by hand one after another against the fleet running the same three.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "tests/cli/run_process.h"
#include "tests/support/fleet_lines.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRunLimitMs = 900000;
const char* const kLineNames[] = {"pty_bus", "raw_bus", "rfc2217_bus", "rs232"};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// What one run took: the wall time, and for a fleet the time its commands
// reported themselves (the rest is the fleet's own, between and around them).
struct CRunTime {
    double dWallMs = -1;  // -1: it failed
    double dCommandsMs = 0;
};

// The switchers' "seconds" in a fleet's JSON report, summed.
double CommandsMs(const std::string& json) {
    static const std::regex seconds("\"seconds\": ([0-9.]+), \"details\"");
    double total = 0;
    for (std::sregex_iterator it(json.begin(), json.end(), seconds), end; it != end; ++it) {
        total += std::stod((*it)[1].str()) * 1000;
    }
    return total;
}

struct CFleetRig {
    CTempDir dir;
    CFleetLines fleet;
    std::string strInventory = dir.File("fleet.ini");
    std::vector<CRunTime> lineTimes;  // each line alone, once measured

    bool Start() {
        // The commands' profile stays out of the user's.
        ::setenv("QELVAR_PROFILE", dir.File("profile.ini").c_str(), 1);
        CFaultOptions wire;
        wire.nBaud = 9600;
        try {
            if (!fleet.Add({{"east 03", 3, 0}, {"east 05", 5, 1}, {"本館 07", 7, 0}},
                           FleetReach::kPty, wire) ||
                !fleet.Add({{"west 01", 1, 0}, {"west 02", 2, 0}, {"west 04", 4, 0}},
                           FleetReach::kRaw, wire) ||
                !fleet.Add({{"north 10", 10, 0}, {"north 11", 11, 1}, {"north 12", 12, 0}},
                           FleetReach::kTelnet, wire) ||
                !fleet.Add({{"lobby", -1, 0}}, FleetReach::kPty, wire)) {
                return false;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "ser2net: %s\n", e.what());
            return false;
        }
        WriteFileText(strInventory, fleet.WriteInventory(dir.Path()));
        return true;
    }

    // Every ser2net has let go of its device, so a run starts as it would alone.
    void WaitIdle() const {
        for (const auto& line : fleet.lines) {
            if (line.ser2net) line.ser2net->WaitIdle();
        }
    }

    CRunTime Timed(const std::vector<std::string>& args) const {
        WaitIdle();
        const auto start = Clock::now();
        const CProcessResult r = RunProcess(QELVARCTL_PATH, args, kRunLimitMs);
        CRunTime time;
        if (r.status != 0) {
            std::fprintf(stderr, "qelvarctl %s: %s%s\n", args.front().c_str(), r.out.c_str(),
                         r.err.c_str());
            return time;
        }
        time.dWallMs = Ms(Clock::now() - start);
        return time;
    }

    // fleet send --verify of the switchers named (all when none).
    CRunTime Fleet(const std::vector<CFleetMember>& only) const {
        const std::string json = dir.File("report.json");
        std::vector<std::string> args = {"fleet", strInventory, "send", "--verify", "--json", json};
        for (const auto& m : only) args.insert(args.end(), {"--only", m.strName});
        CRunTime time = Timed(args);
        if (time.dWallMs >= 0) time.dCommandsMs = CommandsMs(ReadFileText(json));
        return time;
    }

    // The command the fleet runs for the switcher, as one types it.
    CRunTime Single(const CFleetLine& line, const CFleetMember& m) const {
        std::vector<std::string> args = {"--port", line.strPort};
        if (m.nAddress >= 0) {
            args.insert(args.end(), {"--rs485", AddressText(m)});
        } else {
            args.emplace_back("--rs232");
        }
        args.insert(args.end(),
                    {"send", CFleetLines::FileOf(dir.Path(), m), "--pace", "ack", "--verify"});
        return Timed(args);
    }

    // Each line alone; empty when one failed.
    const std::vector<CRunTime>& LineTimes() {
        if (!lineTimes.empty()) return lineTimes;
        for (const auto& line : fleet.lines) {
            const CRunTime time = Fleet(line.members);
            if (time.dWallMs < 0) {
                lineTimes.clear();
                break;
            }
            lineTimes.push_back(time);
        }
        return lineTimes;
    }
};

double SlowestMs(const std::vector<CRunTime>& times) {
    double slowest = 0;
    for (const auto& time : times) slowest = std::max(slowest, time.dWallMs);
    return slowest;
}

// Started by the first benchmark that needs it, kept for the rest.
CFleetRig* Rig() {
    static std::unique_ptr<CFleetRig> rig = [] {
        auto started = std::make_unique<CFleetRig>();
        return started->Start() ? std::move(started) : nullptr;
    }();
    return rig.get();
}

void BM_FleetEachLineAlone(benchmark::State& state) {
    CFleetRig* rig = Rig();
    if (!rig) return state.SkipWithError("the virtual switchers did not start");
    std::vector<CRunTime> times;
    for (auto _ : state) times = rig->LineTimes();
    if (times.empty()) return state.SkipWithError("a line's fleet send failed");
    std::string text;
    for (size_t i = 0; i < times.size(); ++i) {
        state.counters[std::string(kLineNames[i]) + "_ms"] = times[i].dWallMs;
        char figures[96];
        std::snprintf(figures, sizeof figures, "%s%s %.0f ms (its commands %.0f ms)", i ? ", " : "",
                      kLineNames[i], times[i].dWallMs, times[i].dCommandsMs);
        text += figures;
    }
    state.counters["slowest_ms"] = SlowestMs(times);
    std::printf("fleet send --verify, each line alone: %s; slowest %.0f ms\n", text.c_str(),
                SlowestMs(times));
}
BENCHMARK(BM_FleetEachLineAlone)->Iterations(1)->Unit(benchmark::kMillisecond);

// The goal: the four lines at once in at most 1.3 times the slowest alone.
void BM_FleetWholeAgainstSlowestLine(benchmark::State& state) {
    CFleetRig* rig = Rig();
    if (!rig) return state.SkipWithError("the virtual switchers did not start");
    CRunTime whole;
    for (auto _ : state) whole = rig->Fleet({});
    const std::vector<CRunTime>& times = rig->LineTimes();
    if (whole.dWallMs < 0 || times.empty()) return state.SkipWithError("a fleet send failed");
    const double slowest = SlowestMs(times);
    state.counters["whole_ms"] = whole.dWallMs;
    state.counters["slowest_line_ms"] = slowest;
    state.counters["ratio"] = whole.dWallMs / slowest;
    std::printf(
        "fleet send --verify, four lines at once: %.0f ms, x%.3f the slowest line (%.0f ms)\n",
        whole.dWallMs, whole.dWallMs / slowest, slowest);
}
BENCHMARK(BM_FleetWholeAgainstSlowestLine)->Iterations(1)->Unit(benchmark::kMillisecond);

// The goal: the fleet over the bus of three in their sum plus under 2 %.
void BM_FleetPtyBusAgainstItsSingleCommands(benchmark::State& state) {
    CFleetRig* rig = Rig();
    if (!rig) return state.SkipWithError("the virtual switchers did not start");
    const CFleetLine& bus = rig->fleet.lines[0];
    std::vector<double> singles;
    CRunTime fleet;
    for (auto _ : state) {
        for (const auto& m : bus.members) singles.push_back(rig->Single(bus, m).dWallMs);
        fleet = rig->Fleet(bus.members);
    }
    if (fleet.dWallMs < 0 ||
        std::any_of(singles.begin(), singles.end(), [](double ms) { return ms < 0; })) {
        return state.SkipWithError("a send failed");
    }
    double sum = 0;
    for (size_t i = 0; i < singles.size(); ++i) {
        state.counters["single_" + AddressText(bus.members[i]) + "_ms"] = singles[i];
        sum += singles[i];
    }
    const double overhead = (fleet.dWallMs - sum) / sum * 100;
    state.counters["singles_sum_ms"] = sum;
    state.counters["fleet_ms"] = fleet.dWallMs;
    state.counters["fleet_commands_ms"] = fleet.dCommandsMs;
    state.counters["overhead_pct"] = overhead;
    std::printf(
        "pty bus of three: single commands %.0f + %.0f + %.0f = %.0f ms; fleet %.0f ms "
        "(its commands %.0f ms), overhead %+.2f %%\n",
        singles[0], singles[1], singles[2], sum, fleet.dWallMs, fleet.dCommandsMs, overhead);
}
BENCHMARK(BM_FleetPtyBusAgainstItsSingleCommands)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
