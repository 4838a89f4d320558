// The terminal transport on a pseudo-terminal: the test plays the far end.
#include "link/tty_transport.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "tests/support/pty_pair.h"

namespace {

using namespace std::chrono_literals;

// Reads until something other than "nothing yet" comes, at most 2 s.
CIoResult ReadWhenReady(ITransport& port, std::span<char> buffer) {
    pollfd pfd{port.PollFd(), POLLIN, 0};
    ::poll(&pfd, 1, 2000);
    return port.Read(buffer);
}

class TtyTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(port.Open().bOpen);
        ASSERT_TRUE(port.SetNonBlocking());
        ASSERT_TRUE(port.SetReadTimeouts());
        ASSERT_TRUE(port.ApplyLineSettings(kSwitcherLine));
    }
    CPtyPair pty;
    CTtyTransport port{"COM2", pty.SlavePath()};
    char buffer[64];
};

TEST_F(TtyTransportTest, BytesGoBothWaysAndAnIdleLineReadsNothing) {
    EXPECT_EQ(port.Read(buffer).status, IoStatus::kNothing);
    pty.Write("GO\r\n");
    CIoResult got = ReadWhenReady(port, buffer);
    ASSERT_EQ(got.status, IoStatus::kDone);
    EXPECT_EQ(std::string_view(buffer, got.nBytes), "GO\r\n");

    CIoResult wrote = port.Write("TSDY\r\n");
    EXPECT_EQ(wrote.status, IoStatus::kDone);
    EXPECT_EQ(wrote.nBytes, 6u);
    EXPECT_EQ(pty.Read(6), "TSDY\r\n");
}

TEST_F(TtyTransportTest, AHangUpIsReportedAsSuchOnReadAndWrite) {
    pty.CloseMaster();
    EXPECT_EQ(ReadWhenReady(port, buffer).status, IoStatus::kHungUp);
    EXPECT_EQ(port.Write("TSDY\r\n").status, IoStatus::kHungUp);
}

TEST_F(TtyTransportTest, AStoppedLineTakesNothingWithoutBlockingAndDiscardsWhatWaits) {
    pty.Write("\x13");  // XOFF
    std::this_thread::sleep_for(50ms);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(port.Write("TSDY\r\n").status, IoStatus::kNothing);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 50ms);
    pty.Write("\x11");  // XON
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(port.Write("RTSD\r\n").status, IoStatus::kDone);
    EXPECT_EQ(pty.Read(6), "RTSD\r\n");

    pty.Write("E3\r\n");
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(port.Discard(Queue::kInput));
    EXPECT_EQ(port.Read(buffer).status, IoStatus::kNothing);
    EXPECT_EQ(port.OutputQueued(), 0u);
}

// A pseudo-terminal always has 8 data bits and no parity, whatever is asked.
TEST_F(TtyTransportTest, TheLineSettingsReadBackAsAppliedButWhatAPtyFixes) {
    CLineSettings expected = kSwitcherLine;
    expected.parity = Parity::kNone;
    EXPECT_EQ(port.ReadLineSettings(), expected);

    CLineSettings other{19200, 7, Parity::kOdd, 2, false, false};
    ASSERT_TRUE(port.ApplyLineSettings(other));
    expected = other;
    expected.nDataBits = 8;
    expected.parity = Parity::kNone;
    EXPECT_EQ(port.ReadLineSettings(), expected);
}

TEST_F(TtyTransportTest, TheDeviceIsHeldUntilClosed) {
    CTtyTransport second("", pty.SlavePath());
    EXPECT_EQ(LinkFailureText(second.Open().failure),
              pty.SlavePath() + ": in use by another program");
    EXPECT_FALSE(second.IsOpen());
    port.Close();
    EXPECT_EQ(port.PollFd(), -1);
    EXPECT_TRUE(second.Open().bOpen);
}

TEST(TtyTransportNamesTest, TheDescriptionNamesThePortAndItsDevice) {
    EXPECT_EQ(CTtyTransport("COM1", "/dev/ttyUSB0").Description(), "COM1 /dev/ttyUSB0");
    EXPECT_EQ(CTtyTransport("", "/dev/pts/7").Description(), "/dev/pts/7");
}

TEST(TtyTransportClosedTest, AMissingDeviceSaysWhyAndEveryStepFails) {
    CTtyTransport port("COM1", "/dev/qelvar-no-such-port");
    COpenResult opened = port.Open();
    EXPECT_FALSE(opened.bOpen);
    EXPECT_EQ(LinkFailureText(opened.failure),
              "/dev/qelvar-no-such-port: " + std::string(std::strerror(ENOENT)));
    EXPECT_EQ(port.PollFd(), -1);
    EXPECT_FALSE(port.SetNonBlocking());
    EXPECT_FALSE(port.Discard(Queue::kBoth));
    EXPECT_FALSE(port.SetReadTimeouts());
    EXPECT_FALSE(port.ApplyLineSettings(kSwitcherLine));
    EXPECT_EQ(port.ReadLineSettings(), std::nullopt);
    char buffer[8];
    EXPECT_EQ(port.Read(buffer).status, IoStatus::kFailed);
    EXPECT_EQ(port.Write("GO").status, IoStatus::kFailed);
}

TEST(TtyTransportClosedTest, ADeviceThatIsNotATerminalReadsAsEnded) {
    CTtyTransport port("", "/dev/null");
    ASSERT_TRUE(port.Open().bOpen);
    EXPECT_FALSE(port.SetReadTimeouts());
    EXPECT_EQ(port.ReadLineSettings(), std::nullopt);
    char buffer[8];
    EXPECT_EQ(port.Read(buffer).status, IoStatus::kHungUp);
}

}  // namespace
