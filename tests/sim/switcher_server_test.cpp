// The virtual switcher end to end on its pseudo-terminal, with each fault it
// can be told to show.
#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <thread>

#include "sim/switcher_server.h"
#include "tests/sim/port_client.h"
#include "tests/sim/switcher_lines.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

std::chrono::nanoseconds ProcessCpuTime() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

// Waits until pred holds, or about a second.
template <class Pred>
bool WaitFor(Pred pred) {
    for (int i = 0; i < 200 && !pred(); ++i) std::this_thread::sleep_for(5ms);
    return pred();
}

TEST(SwitcherServer, AnswersCommandLinesOnItsPseudoTerminal) {
    CSwitcherServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    CPortClient port(server.DevicePath());
    ASSERT_TRUE(port.IsOpen());

    // Split across writes, several in one write, and a bare-LF line that gets no answer.
    port.Write("RTS");
    port.Write("D\r\nTSDM\r\nRTSD\n");
    port.Write("RTSD\r\n");
    EXPECT_EQ(port.ReadLines(3), "TSDY\r\nGO\r\nTSDM\r\n");
    EXPECT_EQ(port.ReadLines(1, 100), "");
    EXPECT_EQ(server.LinesReceived(), 4);
    EXPECT_EQ(server.LinesAnswered(), 3);
    EXPECT_EQ(server.State().m_tables.m_nDateFormat, 1);
}

TEST(SwitcherServer, DropsAnOverlongLineAndGoesOn) {
    CSwitcherServer server;
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    port.Write(std::string(500, 'A') + "\r\n");
    port.Write("ROTP\r\n");
    EXPECT_EQ(port.ReadLines(2, 500), "OTP00\r\n");
}

TEST(SwitcherServer, SurvivesTheProgramClosingAndReopeningItsPort) {
    CSwitcherServer server;
    ASSERT_TRUE(server.Start());
    {
        CPortClient port(server.DevicePath());
        port.Write("TSDD\r\n");
        ASSERT_EQ(port.ReadLines(1), kGo);
    }
    CPortClient again(server.DevicePath());
    again.Write("RTSD\r\n");
    EXPECT_EQ(again.ReadLines(1), "TSDD\r\n");
}

TEST(SwitcherServer, ServesAGivenDevice) {
    CPtyPair line;  // the test stands at the master side, the switcher opens the slave side
    CSwitcherServer server({.bRs485 = true, .nAddress = 3});
    ASSERT_TRUE(server.Open(line.SlavePath())) << server.Error();
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(server.DevicePath(), line.SlavePath());
    line.Write("04RTSD\r\n03RTSD\r\n");
    EXPECT_EQ(line.Read(8), "03TSDY\r\n");
}

TEST(SwitcherFaults, TheKthCommandLineGetsTheErrorReplyAndIsNotApplied) {
    CSwitcherServer server({.bRs485 = true, .nAddress = 2},
                           {.nErrorAtLine = 2, .errorReply = "E1"});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    // The line for another address is not counted.
    port.Write("02DSY10\r\n09DSM05\r\n02DSM05\r\n02DSD07\r\n");
    EXPECT_EQ(port.ReadLines(3), "02GO\r\n02E1\r\n02GO\r\n");
    const CSwitcherClock clock = server.State().m_clock;
    EXPECT_EQ(clock.nYear, 10);
    EXPECT_EQ(clock.nMonth, 1);
    EXPECT_EQ(clock.nDay, 7);
}

TEST(SwitcherFaults, TheKthCommandLineIsAcknowledgedButLost) {
    CSwitcherServer server({}, {.nDropAtLine = 2});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    port.Write("TSDM\r\nTSDD\r\nRTSD\r\n");
    EXPECT_EQ(port.ReadLines(3), "GO\r\nGO\r\nTSDM\r\n");
}

TEST(SwitcherFaults, RepliesKeepToTheWireTimeOfTheLineSpeed) {
    CSwitcherServer server({}, {.nBaud = 9600});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    const std::string ast = Crlf("AST01" + Repeat("12", 32));  // 71 characters, "GO" 4
    const auto start = Clock::now();
    port.Write(ast + ast);
    ASSERT_EQ(port.ReadLines(2), std::string(kGo) + kGo);
    // Both lines cross the wire one after the other, then the second GO: (142 + 4) x 11 bits.
    EXPECT_GE(Since(start), 165ms);
    EXPECT_LT(Since(start), 1000ms);
}

TEST(SwitcherFaults, ASilentSwitcherHearsButNeitherAppliesNorAnswers) {
    CSwitcherServer server({}, {.bSilent = true});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    port.Write("TSDM\r\nRTSD\r\n");
    ASSERT_TRUE(WaitFor([&] { return server.LinesReceived() == 2; }));
    EXPECT_EQ(port.ReadLines(1, 200), "");
    EXPECT_EQ(server.LinesAnswered(), 0);
    EXPECT_EQ(server.State().m_tables.m_nDateFormat, 0);
}

TEST(SwitcherFaults, EveryReplyIsDelayed) {
    CSwitcherServer server({}, {.nDelayMs = 150});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    const auto start = Clock::now();
    port.Write("RTSD\r\n");
    ASSERT_EQ(port.ReadLines(1), "TSDY\r\n");
    EXPECT_GE(Since(start), 145ms);
    EXPECT_LT(Since(start), 1000ms);
}

TEST(SwitcherFaults, SplitRepliesArriveInSeveralReads) {
    CSwitcherServer server({}, {.bSplitBytes = true});
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    port.Write("RTSD\r\nROTP\r\n");
    EXPECT_EQ(port.ReadLines(2), "TSDY\r\nOTP00\r\n");
    EXPECT_GE(port.Reads(), 4);  // bytes 3 ms apart; a busy machine may join a few
    // Counted once the last byte is written, which the reader may see first.
    EXPECT_TRUE(WaitFor([&] { return server.LinesAnswered() == 2; }));
}

TEST(SwitcherServer, IdleCostsNoCpuAndStopsPromptly) {
    CSwitcherServer server;
    ASSERT_TRUE(server.Start());
    const auto cpu = ProcessCpuTime();
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(ProcessCpuTime() - cpu, 30ms);

    const auto start = Clock::now();
    server.Stop();
    EXPECT_LT(Since(start), 200ms);
    EXPECT_FALSE(server.IsRunning());
    server.Stop();  // a second Stop does nothing
}

TEST(SwitcherServer, CanBeRestartedAndSavesWhileServing) {
    CTempDir dir;
    CSwitcherServer server;
    ASSERT_TRUE(server.Start());
    server.Stop();
    ASSERT_TRUE(server.Start());
    CPortClient port(server.DevicePath());
    port.Write(Crlf("AST01" + Repeat("12", 32)));
    ASSERT_EQ(port.ReadLines(1), kGo);
    ASSERT_TRUE(server.SaveState(dir.File("s.dat")));

    CSwitcherServer next;
    ASSERT_TRUE(next.LoadState(dir.File("s.dat")));
    EXPECT_EQ(next.State().m_tables.m_nSeqTime[0][31], 12);
}

}  // namespace
