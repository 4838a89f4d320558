// The link that recovers and the network transports, against real peers:
// how soon a port that comes back is used again, what the I/O thread costs
// while it waits, and an all-items send paced by the replies through ser2net
// (raw TCP, RFC 2217) against the same send on the pseudo-terminal itself.
#include <benchmark/benchmark.h>
#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/receive_thread.h"
#include "link/reply_dispatch.h"
#include "link/transmitter.h"
#include "model/file_io.h"
#include "model/settings_file_format.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"
#include "tests/cli/run_process.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class Pred>
bool DispatchUntil(Pred pred, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!pred()) {
        if (Clock::now() > deadline) return false;
        WaitForReplies(5);
    }
    return true;
}

// Puts the program's link on another port for one benchmark, and back afterwards.
class CLinkElsewhere {
public:
    explicit CLinkElsewhere(const std::string& port) : m_strOld(Link().CommPortOverride()) {
        StopLink();
        Link().SetCommPortOverride(port);
        StartLink();
    }
    ~CLinkElsewhere() {
        StopLink();
        Link().SetCommPortOverride(m_strOld);
        StartLink();
    }

private:
    std::string m_strOld;
};

double IoThreadCpuUs() {
    clockid_t clk{};
    if (::pthread_getcpuclockid(g_hReadThread.native_handle(), &clk) != 0) return -1;
    timespec ts{};
    ::clock_gettime(clk, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) * 1e-3;
}

// Microseconds of the I/O thread's CPU per second over `span`.
double IoCpuPerSecond(std::chrono::seconds span) {
    const double before = IoThreadCpuUs();
    std::this_thread::sleep_for(span);
    return (IoThreadCpuUs() - before) / static_cast<double>(span.count());
}

// A device unplugged and plugged back in under the same name: from its name's
// return to the link connected again.
void BM_DeviceBackToConnected(benchmark::State& state) {
    CTempDir dir;
    const std::string stable = dir.File("ttyQLV0");
    // The switcher's pseudo-terminal comes first; its name appearing is the moment.
    Clock::time_point back;
    auto plug = [&] {
        auto switcher = std::make_unique<CSwitcherServer>();
        switcher->Start();
        std::filesystem::remove(stable);
        back = Clock::now();
        std::filesystem::create_symlink(switcher->DevicePath(), stable);
        return switcher;
    };
    auto switcher = plug();
    CLinkElsewhere link(stable);
    std::vector<double> times;
    for (auto _ : state) {
        switcher.reset();
        if (!DispatchUntil([] { return !Link().State().Connected(); }, 3000ms)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + 37 * (times.size() % 7)));
        switcher = plug();
        if (!DispatchUntil([] { return Link().State().Connected(); }, 5000ms)) break;
        times.push_back(Ms(Clock::now() - back));
    }
    state.counters["median_ms"] = Median(times);
    state.counters["max_ms"] = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
    std::printf("device back -> connected: median %.1f ms, max %.1f ms over %zu\n", Median(times),
                state.counters["max_ms"].value, times.size());
}
BENCHMARK(BM_DeviceBackToConnected)->Iterations(20)->Unit(benchmark::kMillisecond);

// A line and its reply: a connection that carried data starts the pauses over.
bool Exchange() {
    const unsigned long replies = Link().RepliesInterpreted();
    SendCommand("TSDM\r\n");
    return DispatchUntil([&] { return Link().RepliesInterpreted() > replies; }, 3000ms);
}

// ser2net stopped, then started again at some point of the program's pauses
// (1 s, then 2 s): from the server listening again to the link connected.
void BM_ServerBackToConnected(benchmark::State& state) {
    CSwitcherServer switcher;
    switcher.Start();
    CSer2net server(switcher.DevicePath());
    CLinkElsewhere link(server.RawPort());
    if (!DispatchUntil([] { return Link().State().Connected(); }, 5000ms)) {
        state.SkipWithError("no connection to ser2net");
        return;
    }
    const int delaysMs[] = {200, 700, 1200, 1700, 2200, 2700};
    std::vector<double> times;
    std::vector<double> shares;  // of the pause in force when the server came back
    for (auto _ : state) {
        if (!Exchange()) break;
        server.Stop();
        if (!DispatchUntil([] { return !Link().State().Connected(); }, 3000ms)) break;
        const int delay = delaysMs[times.size() % 6];
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        server.Start();
        const auto back = Clock::now();
        if (!DispatchUntil([] { return Link().State().Connected(); }, 15000ms)) break;
        times.push_back(Ms(Clock::now() - back));
        shares.push_back(times.back() / (delay < kServerRetryFirstMs ? 1000.0 : 2000.0));
    }
    state.counters["median_ms"] = Median(times);
    state.counters["max_share_of_step"] =
        shares.empty() ? 0 : *std::max_element(shares.begin(), shares.end());
    std::printf("server back -> connected: median %.0f ms, at most %.2f of the pause in force\n",
                Median(times), state.counters["max_share_of_step"].value);
}
BENCHMARK(BM_ServerBackToConnected)->Iterations(12)->Unit(benchmark::kMillisecond);

void BM_WaitingForAnAbsentDeviceCpu(benchmark::State& state) {
    CTempDir dir;
    CLinkElsewhere link(dir.File("ttyNONE"));
    double perSecond = 0;
    for (auto _ : state) perSecond = IoCpuPerSecond(3s);
    state.counters["io_cpu_us_per_s"] = perSecond;
    std::printf("waiting for an absent device: I/O thread %.1f us CPU per second\n", perSecond);
}
BENCHMARK(BM_WaitingForAnAbsentDeviceCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReconnectingToADeadServerCpu(benchmark::State& state) {
    CLinkElsewhere link("tcp://127.0.0.1:" + std::to_string(FreeTcpPort()));
    double perSecond = 0;
    for (auto _ : state) perSecond = IoCpuPerSecond(8s);  // attempts at 0, 1, 3 and 7 s
    state.counters["io_cpu_us_per_s"] = perSecond;
    std::printf("reconnecting to a dead server: I/O thread %.1f us CPU per second\n", perSecond);
}
BENCHMARK(BM_ReconnectingToADeadServerCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// qelvarctl send --pace ack of a whole settings file, the median of five runs.
double SendMs(const std::string& port, const std::string& file, const CSer2net* server) {
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        if (server) server->WaitIdle();
        const auto start = Clock::now();
        CProcessResult r = RunProcess(QELVARCTL_PATH, {"--port", port, "--rs232", "--model", "32",
                                                       "send", file, "--pace", "ack"});
        if (r.status != 0) {
            std::fprintf(stderr, "send on %s: %s\n", port.c_str(), r.err.c_str());
            return -1;
        }
        runs.push_back(Ms(Clock::now() - start));
    }
    return Median(runs);
}

void BM_AckPacedSendThroughSer2net(benchmark::State& state) {
    CTempDir dir;
    const std::string file = dir.File("all.dat");
    const int model = g_nModel;
    g_nModel = 0;
    ResetModelDefaults();
    WriteFileAtomically(file, FormatSettingsFile(g_settings));
    g_nModel = model;
    CSwitcherServer switcher;
    switcher.Start();
    CSer2net server(switcher.DevicePath());
    double direct = 0, raw = 0, telnet = 0;
    for (auto _ : state) {
        direct = SendMs(switcher.DevicePath(), file, nullptr);
        raw = SendMs(server.RawPort(), file, &server);
        telnet = SendMs(server.Rfc2217Port(), file, &server);
    }
    if (direct <= 0 || raw <= 0 || telnet <= 0) {
        state.SkipWithError("a send failed");
        return;
    }
    state.counters["direct_ms"] = direct;
    state.counters["raw_ratio"] = raw / direct;
    state.counters["rfc2217_ratio"] = telnet / direct;
    std::printf(
        "all-items send --pace ack: pty %.0f ms, ser2net raw %.0f ms (x%.1f), "
        "RFC 2217 %.0f ms (x%.1f)\n",
        direct, raw, raw / direct, telnet, telnet / direct);
}
BENCHMARK(BM_AckPacedSendThroughSer2net)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
