// qelvarctl serve on a pseudo-terminal whose other end this benchmark plays
// as the switcher: from a client's route to its OT line on the port, from the
// switcher's GO to the change reaching a second client, and what the server
// costs while 32 clients are connected and nothing happens.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "model/settings_file_format.h"
#include "model/settings_tables.h"
#include "pty/pseudo_terminal.h"
#include "tests/cli/run_process.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

int Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(port));
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads fd until `text` has come (or 2 s have passed); what came is kept in `seen`.
bool ReadUntil(int fd, std::string& seen, const std::string& text) {
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (seen.find(text) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        seen.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

double ProcessCpuSeconds(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoul(field);
        if (i == 15) stime = std::stoul(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

struct CServeRig {
    CTempDir dir;
    CPseudoTerminal pty;
    std::unique_ptr<CRunningProcess> serve;
    int nPort = 0;
    int pid = 0;

    bool Start() {
        if (!pty.Open()) return false;
        const std::string dat = dir.File("state.dat");
        WriteFileText(dat, FormatSettingsFile(DefaultSettingsTables(0)));
        nPort = FreeTcpPort();
        serve = std::make_unique<CRunningProcess>(
            QELVARCTL_PATH,
            std::vector<std::string>{"--port", pty.SlavePath(), "--rs232", "--model", "32", "serve",
                                     "--listen", "127.0.0.1", "--videohub", std::to_string(nPort),
                                     "--state", dir.File("serve.state"), "--state-from", dat,
                                     "--max-clients", "40"},
            std::vector<std::string>{"HOME=" + dir.Path()});
        return serve->FirstLine() == "port " + std::to_string(nPort);
    }
};

// Started by the first benchmark that needs it, kept for the rest; stopped at exit.
CServeRig* Rig() {
    static std::unique_ptr<CServeRig> rig = [] {
        auto started = std::make_unique<CServeRig>();
        return started->Start() ? std::move(started) : nullptr;
    }();
    return rig.get();
}

void BM_RouteToLineAndGoToSecondClient(benchmark::State& state) {
    CServeRig* rig = Rig();
    if (!rig) return state.SkipWithError("qelvarctl serve did not start");
    const int a = Connect(rig->nPort);
    const int b = Connect(rig->nPort);
    std::string seenA, seenB, wire;
    if (!ReadUntil(a, seenA, "END PRELUDE:\n\n") || !ReadUntil(b, seenB, "END PRELUDE:\n\n")) {
        state.SkipWithError("no opening dump");
        return;
    }
    std::vector<double> toLine, toClient;
    int input = 0;
    for (auto _ : state) {
        input = (input + 1) % 32;
        const std::string route = "VIDEO OUTPUT ROUTING:\n5 " + std::to_string(input) + "\n\n";
        const std::string update = "VIDEO OUTPUT ROUTING:\n5 " + std::to_string(input) + "\n\n";
        wire.clear();
        seenB.clear();
        const auto sent = Clock::now();
        ::send(a, route.data(), route.size(), 0);
        if (!ReadUntil(rig->pty.Master(), wire, "\r\n")) {
            state.SkipWithError("no OT line on the port");
            break;
        }
        const auto lineOut = Clock::now();
        ::write(rig->pty.Master(), "GO\r\n", 4);
        if (!ReadUntil(b, seenB, update)) {
            state.SkipWithError("the second client heard nothing");
            break;
        }
        const auto heard = Clock::now();
        toLine.push_back(std::chrono::duration<double, std::micro>(lineOut - sent).count());
        toClient.push_back(std::chrono::duration<double, std::micro>(heard - lineOut).count());
        seenA.clear();
        ReadUntil(a, seenA, update);  // its ACK and update, before the next round
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    };
    state.counters["route_to_line_us_median"] = median(toLine);
    state.counters["route_to_line_us_max"] = worst(toLine);
    state.counters["go_to_client_us_median"] = median(toClient);
    state.counters["go_to_client_us_max"] = worst(toClient);
    ::close(a);
    ::close(b);
}
BENCHMARK(BM_RouteToLineAndGoToSecondClient)->Iterations(500)->Unit(benchmark::kMillisecond);

void BM_ThirtyTwoIdleClientsCpu(benchmark::State& state) {
    CServeRig* rig = Rig();
    if (!rig) return state.SkipWithError("qelvarctl serve did not start");
    std::vector<int> clients;
    for (int i = 0; i < 32; ++i) {
        const int fd = Connect(rig->nPort);
        std::string seen;
        if (fd < 0 || !ReadUntil(fd, seen, "END PRELUDE:\n\n")) {
            state.SkipWithError("a client got no opening dump");
            return;
        }
        clients.push_back(fd);
    }
    const int pid = rig->serve->Pid();
    double cpu = 0;
    for (auto _ : state) {
        const double before = ProcessCpuSeconds(pid);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        cpu = ProcessCpuSeconds(pid) - before;
    }
    state.counters["serve_cpu_ms_per_2s"] = cpu * 1e3;
    std::printf("qelvarctl serve CPU time over 2 s with 32 idle clients: %.0f ms\n", cpu * 1e3);
    for (int fd : clients) ::close(fd);
}
BENCHMARK(BM_ThirtyTwoIdleClientsCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
