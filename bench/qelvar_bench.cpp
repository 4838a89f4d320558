// Timings of the core's hot paths: interpreting read-back lines, saving and
// loading the settings file, the delay from a reply arriving on the port to its
// interpretation, and what the I/O thread costs while the line is quiet.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/link_lifetime.h"
#include "sink/message_sink.h"
#include "link/receive_thread.h"
#include "link/reply_interpreter.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "link/serial_port.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "pty/pseudo_terminal.h"

namespace {

using Clock = std::chrono::steady_clock;

// Boxes would block or write to stderr and swamp the figures.
class CSilentSink : public CMessageSink {
public:
    void ShowBox(BoxKind, const std::string&) override {}
};

CSilentSink g_silentSink;
std::filesystem::path g_tempDir;
CPseudoTerminal g_pty;

std::string TimesLine() {
    std::string line = "AST07";
    for (int i = 0; i < kMaxInputs; ++i) {
        int t = (i * 7) % (kMaxSeqTime + 1);
        line += static_cast<char>('0' + t / 10);
        line += static_cast<char>('0' + t % 10);
    }
    return line + "\r\n";
}

std::string PatternLine() {
    std::string line = "TP05";
    for (int out = 1; out <= kOutputs; ++out) {
        line += 'I';
        line += static_cast<char>('0' + out / 10);
        line += static_cast<char>('0' + out % 10);
    }
    return line + "\r\n";
}

std::string TitleLine() {
    std::string line = "CA03" + std::string("2422");
    for (int k = 0; k < 15; ++k) line += "2121";
    return line + "\r\n";
}

void BM_InterpretSeqTimes(benchmark::State& state) {
    const std::string line = TimesLine();
    for (auto _ : state) {
        InterpretReply(line);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InterpretSeqTimes);

void BM_InterpretPattern(benchmark::State& state) {
    const std::string line = PatternLine();
    for (auto _ : state) {
        InterpretReply(line);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InterpretPattern);

void BM_InterpretTitle(benchmark::State& state) {
    const std::string line = TitleLine();
    for (auto _ : state) {
        InterpretReply(line);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_InterpretTitle);

void BM_SaveSettingsFile(benchmark::State& state) {
    const std::string path = (g_tempDir / "save.dat").string();
    for (auto _ : state) {
        if (!SaveSettingsFile(path)) {
            state.SkipWithError("SaveSettingsFile failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveSettingsFile)->Unit(benchmark::kMicrosecond);

void BM_LoadSettingsFile(benchmark::State& state) {
    const std::string path = (g_tempDir / "load.dat").string();
    if (!SaveSettingsFile(path)) {
        state.SkipWithError("SaveSettingsFile failed");
        return;
    }
    for (auto _ : state) {
        if (!LoadSettingsFile(path)) {
            state.SkipWithError("LoadSettingsFile failed");
            break;
        }
    }
}
BENCHMARK(BM_LoadSettingsFile)->Unit(benchmark::kMicrosecond);

// One reply per iteration, so the aggregates are taken over single replies.
// The clock starts just before the write, so the figure includes the write call.
void BM_ReplyLatency(benchmark::State& state) {
    constexpr std::string_view kReply = "GO\r\n";
    const int readyFd = Link().Replies().ReadyFd();
    for (auto _ : state) {
        // As SendCommand leaves it: the line is owed its reply, which is awaited.
        COwedReply sent;
        sent.strSent = "CT" + std::string(32, 'N') + "\r\n";
        Link().Owed().Owe(sent);
        g_bAwaitingReply = 1;
        const auto start = Clock::now();
        if (::write(g_pty.Master(), kReply.data(), kReply.size()) !=
            static_cast<ssize_t>(kReply.size())) {
            state.SkipWithError("write to pty master failed");
            break;
        }
        const auto deadline = start + std::chrono::seconds(2);
        while (g_bAwaitingReply != 0 && Clock::now() < deadline) {
            pollfd pfd{readyFd, POLLIN, 0};
            ::poll(&pfd, 1, 100);
            DispatchReplies();
        }
        const auto end = Clock::now();
        if (g_bAwaitingReply != 0) {
            state.SkipWithError("no reply interpreted within 2 s");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_ReplyLatency)
    ->Iterations(1)
    ->Repetitions(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99",
                        [](const std::vector<double>& v) {
                            std::vector<double> s = v;
                            std::sort(s.begin(), s.end());
                            return s[static_cast<size_t>(0.99 * static_cast<double>(s.size() - 1))];
                        })
    ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
    });

double ThreadCpuSeconds(clockid_t clk) {
    timespec ts{};
    ::clock_gettime(clk, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The I/O thread should sleep in poll() while nothing arrives and nothing is queued.
void BM_IoThreadIdleCpu(benchmark::State& state) {
    clockid_t clk{};
    if (::pthread_getcpuclockid(g_hReadThread.native_handle(), &clk) != 0) {
        state.SkipWithError("pthread_getcpuclockid failed");
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        const double before = ThreadCpuSeconds(clk);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        cpu = ThreadCpuSeconds(clk) - before;
    }
    state.counters["io_cpu_us_per_s"] = cpu * 1e6;
    // The total shows the clock is live: the thread did work in the latency runs.
    std::printf("I/O thread CPU time over 1 s idle: %.0f ns (since start: %.0f us)\n", cpu * 1e9,
                ThreadCpuSeconds(clk) * 1e6);
}
BENCHMARK(BM_IoThreadIdleCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// Each read-back line must really decode, or the timings measure a rejection.
bool CheckLinesDecode() {
    InterpretReply(TimesLine());
    InterpretReply(PatternLine());
    InterpretReply(TitleLine());
    bool ok = g_nSeqTime[6][63] == (63 * 7) % (kMaxSeqTime + 1) && g_nPattern[5][31] == 31 &&
              g_strTitle[2] == "\x82\xa0";
    if (!ok) std::fprintf(stderr, "a read-back line did not decode as expected\n");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    SetMessageSink(&g_silentSink);
    ResetModelDefaults();
    g_nModel = 1;     // 64 inputs
    g_nSendStep = 1;  // a cycle is running: a "GO" reply shows no box
    g_bRs485 = 0;
    if (!CheckLinesDecode()) return 1;

    char dirTemplate[] = "/tmp/qelvar-bench-XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    g_tempDir = dirTemplate;

    if (!g_pty.Open()) {
        std::fprintf(stderr, "%s\n", g_pty.Error().c_str());
        return 1;
    }
    const std::string& slavePath = g_pty.SlavePath();
    Link().SetCommPortOverride(slavePath);
    StartLink();
    if (g_hComm < 0 || !g_hReadThread.joinable()) {
        std::fprintf(stderr, "the link did not start on %s\n", slavePath.c_str());
        return 1;
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    StopLink();
    g_pty.Close();
    std::error_code ec;
    std::filesystem::remove_all(g_tempDir, ec);
    SetMessageSink(nullptr);
    return 0;
}
