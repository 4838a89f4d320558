// A link that recovers, against real peers: the virtual switcher on a
// pseudo-terminal offered under a stable name (unplugged by closing it,
// replugged as a new one under the same name), and ser2net stopped and
// started again. Descriptors and threads must not pile up, and waiting must
// cost no CPU.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "batch/cycle_steps.h"
#include "batch/send_cycle.h"
#include "link/comm_log.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/net_transport.h"
#include "link/reply_dispatch.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "sim/switcher_server.h"
#include "tests/link/link_fixture.h"
#include "tests/support/file_tables.h"
#include "tests/support/pty_pair.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

template <class Pred>
bool DispatchUntil(Pred pred, std::chrono::milliseconds limit = 3000ms) {
    const auto deadline = Clock::now() + limit;
    while (!pred()) {
        if (Clock::now() > deadline) return false;
        WaitForReplies(20);
    }
    return true;
}

bool SendsAndIsAnswered() {
    const unsigned long replies = Link().RepliesInterpreted();
    SendCommand("TSDM\r\n");
    return DispatchUntil([&] { return Link().RepliesInterpreted() > replies; });
}

size_t Entries(const char* folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

// The process's CPU time (user and system, every thread) spent over `span`.
std::chrono::microseconds CpuOver(std::chrono::milliseconds span) {
    auto used = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
               std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    };
    const auto before = used();
    std::this_thread::sleep_for(span);
    return used() - before;
}

class LinkRecoveryTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        WriteFileText(dir.File("profile.ini"), "[Ports]\nCOM1=" + stable + "\n");
        Link().SetProfilePath(dir.File("profile.ini"));
        ReadCommSettings();  // COM1, as that profile says
        log.FollowLink();
    }
    void TearDown() override { StopLink(); }

    // A new virtual switcher whose pseudo-terminal goes under the stable name.
    void Plug() {
        switcher = std::make_unique<CSwitcherServer>();
        ASSERT_TRUE(switcher->Start()) << switcher->Error();
        std::filesystem::remove(stable);
        std::filesystem::create_symlink(switcher->DevicePath(), stable);
    }
    // Its pseudo-terminal closes: the program's end hangs up.
    void Unplug() { switcher.reset(); }

    bool HasNote(const std::string& text) const {
        for (const auto& entry : log.Entries()) {
            if (entry.direction == CommDirection::kNote && entry.line == text) return true;
        }
        return false;
    }

    CTempDir dir;
    const std::string stable = dir.File("ttyQLV0");
    std::unique_ptr<CSwitcherServer> switcher;
    CCommLog log;
};

TEST_F(LinkRecoveryTest, AnUnpluggedPortIsReopenedWhenItReturnsTenTimesOver) {
    Plug();
    StartLink();
    ASSERT_TRUE(Link().State().Connected());
    ASSERT_TRUE(SendsAndIsAnswered());
    const size_t fds = Entries("/proc/self/fd");
    const size_t threads = Entries("/proc/self/task");
    const std::string port = "COM1 " + stable;

    for (int cycle = 1; cycle <= 10; ++cycle) {
        Unplug();
        ASSERT_TRUE(DispatchUntil([] { return !Link().State().Connected(); })) << cycle;
        EXPECT_EQ(Link().State().Status(), LinkStatus::kWaiting);
        EXPECT_EQ(Link().State().Losses(), static_cast<unsigned long>(cycle));
        EXPECT_EQ(g_hComm, -1);
        if (cycle == 1) {
            EXPECT_EQ(log.Entries().back().line, port + ": lost (" +
                                                     LinkFailureText(Link().State().LastFailure()) +
                                                     "), waiting for the port");
            EXPECT_LT(CpuOver(1500ms), 15ms) << "waiting for the port costs CPU";
        }
        Plug();
        const auto replugged = Clock::now();
        ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); })) << cycle;
        EXPECT_LT(Clock::now() - replugged, 1000ms) << cycle;
        EXPECT_EQ(log.Entries().back().line, port + ": connected");
        EXPECT_GE(g_hComm, 0);
        ASSERT_TRUE(SendsAndIsAnswered()) << cycle;
    }
    EXPECT_EQ(Entries("/proc/self/fd"), fds);
    EXPECT_EQ(Entries("/proc/self/task"), threads);
    // Reconnecting raised no box: only the "Success" of each answered line.
    for (const auto& box : sink.boxes) EXPECT_EQ(box.kind, BoxKind::kSuccess) << box.text;
}

TEST_F(LinkRecoveryTest, ARunStoppedByALostPortShowsOneBoxAndCanStartAgain) {
    Plug();
    StartLink();
    CSendCycle cycle(AllItemsSteps());
    ASSERT_TRUE(cycle.Start());
    for (int k = 0; k < 5; ++k) {
        ASSERT_EQ(cycle.Tick(), TickOutcome::kStepped);
        WaitForReplies(50);
    }
    const auto before = FileTables(g_settings);
    Unplug();
    ASSERT_TRUE(DispatchUntil([] { return !Link().State().Connected(); }));
    sink.boxes.clear();
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStopped);
    EXPECT_TRUE(cycle.PortLost());
    EXPECT_EQ(cycle.LastStep(), 5);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(sink.boxes,
              (std::vector<RecordedBox>{{BoxKind::kReplyError, "Port lost: COM1 " + stable}}));
    EXPECT_EQ(cycle.Tick(), TickOutcome::kIgnored);
    EXPECT_EQ(FileTables(g_settings), before);

    Plug();
    ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); }));
    ASSERT_TRUE(cycle.Start());
    EXPECT_EQ(cycle.Tick(), TickOutcome::kStepped);
    EXPECT_FALSE(cycle.PortLost());
    EXPECT_TRUE(DispatchUntil([&] { return switcher->LinesAnswered() == 1; }));
}

TEST_F(LinkRecoveryTest, AStalledWriteSaysWhatTheModemLinesShow) {
    EXPECT_EQ(StallText(-1), "output stalled");
    EXPECT_EQ(StallText(0), "output stalled: CTS is off \u2014 check the cable's handshake lines");
    CPtyPair pty;
    Link().SetCommPortOverride(pty.SlavePath());
    StartLink();
    pty.Write("\x13");  // XOFF: nothing leaves the port
    std::this_thread::sleep_for(50ms);
    SendCommand("TSDY\r\n");
    // A pseudo-terminal has no modem lines to read.
    ASSERT_TRUE(DispatchUntil([] { return Link().State().Stalled(); }, 2500ms));
    EXPECT_EQ(Link().State().StallModemLines(), -1);
    EXPECT_TRUE(HasNote(pty.SlavePath() + ": output stalled"));
    EXPECT_TRUE(Link().State().Connected());  // the line settings and the port stay
    pty.Write("\x11");
    SendCommand("TSDM\r\n");
    ASSERT_TRUE(DispatchUntil([] { return !Link().State().Stalled(); }));
    EXPECT_TRUE(HasNote(pty.SlavePath() + ": output moves again"));
}

// Through ser2net: raw TCP and Telnet RFC 2217.
class ServerRecoveryTest : public LinkTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        ASSERT_TRUE(switcher.Start()) << switcher.Error();
        server = std::make_unique<CSer2net>(switcher.DevicePath());
        Link().SetCommPortOverride(GetParam() ? server->Rfc2217Port() : server->RawPort());
    }
    void TearDown() override { StopLink(); }

    CSwitcherServer switcher;
    std::unique_ptr<CSer2net> server;
};

int SocketOption(int fd, int level, int option) {
    int value = 0;
    socklen_t size = sizeof value;
    ::getsockopt(fd, level, option, &value, &size);
    return value;
}

TEST_P(ServerRecoveryTest, AServerStoppedAndStartedAgainIsReconnectedTenTimesOver) {
    const auto started = Clock::now();
    StartLink();
    EXPECT_LT(Clock::now() - started, 100ms);  // the caller does not wait for the server
    EXPECT_EQ(Link().State().Status(), LinkStatus::kConnecting);
    ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); })) << server->Log();
    EXPECT_EQ(SocketOption(g_hComm, IPPROTO_TCP, TCP_NODELAY), 1);
    EXPECT_EQ(SocketOption(g_hComm, SOL_SOCKET, SO_KEEPALIVE), 1);
    // Quiet, then probes, then given up: about 15 s; so for unacknowledged data.
    EXPECT_LE(SocketOption(g_hComm, IPPROTO_TCP, TCP_KEEPIDLE) +
                  SocketOption(g_hComm, IPPROTO_TCP, TCP_KEEPINTVL) *
                      SocketOption(g_hComm, IPPROTO_TCP, TCP_KEEPCNT),
              16);
    EXPECT_EQ(SocketOption(g_hComm, IPPROTO_TCP, TCP_USER_TIMEOUT), 15000);
    ASSERT_TRUE(SendsAndIsAnswered());
    const size_t fds = Entries("/proc/self/fd");
    const size_t threads = Entries("/proc/self/task");
    for (int cycle = 1; cycle <= 10; ++cycle) {
        server->Stop();
        ASSERT_TRUE(DispatchUntil([] { return !Link().State().Connected(); })) << cycle;
        EXPECT_EQ(Link().State().Status(), LinkStatus::kReconnecting);
        EXPECT_EQ(LinkFailureText(Link().State().LastFailure()), "closed by the server");
        if (cycle == 1) {
            EXPECT_LT(CpuOver(2500ms), 15ms) << "reconnecting costs CPU";
        }
        server->Start();
        ASSERT_TRUE(DispatchUntil([] { return Link().State().Connected(); }, 5000ms)) << cycle;
        ASSERT_TRUE(SendsAndIsAnswered()) << cycle;
    }
    EXPECT_EQ(Entries("/proc/self/fd"), fds);
    EXPECT_EQ(Entries("/proc/self/task"), threads);
    EXPECT_TRUE(sink.boxes.size() == 11u) << "only the Success boxes";
}

INSTANTIATE_TEST_SUITE_P(Ser2net, ServerRecoveryTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Rfc2217" : "RawTcp"; });

}  // namespace
