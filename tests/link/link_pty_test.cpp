// The link end to end: the program's port is the slave side of a
// pseudo-terminal, the test plays the switcher on the master side.
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/receive_thread.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "link/tty_transport.h"
#include "tests/link/link_fixture.h"
#include "tests/support/pty_pair.h"

namespace {

using namespace std::chrono_literals;

// Dispatches replies until pred holds or timeoutMs passes.
template <class Pred>
bool DispatchUntil(Pred pred, int timeoutMs = 2000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        WaitForReplies(20);
    }
    return true;
}

std::chrono::nanoseconds ThreadCpuTime(std::thread& thread) {
    clockid_t clock;
    pthread_getcpuclockid(thread.native_handle(), &clock);
    timespec ts{};
    clock_gettime(clock, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
}

class LinkPtyTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        Link().Replies().Clear();
        Link().SetCommPortOverride(pty.SlavePath());
        StartLink();
        ASSERT_GE(g_hComm, 0);
        ASSERT_TRUE(sink.boxes.empty()) << sink.boxes[0].text;
    }
    void TearDown() override {
        StopLink();
        Link().SetCommPortOverride("");
        Link().Replies().Clear();
    }
    std::vector<RecordedBox> Boxes(std::initializer_list<RecordedBox> boxes) { return boxes; }
    // Sends the lines whose replies the test then plays, as the switcher reads them.
    void Ask(std::initializer_list<std::string> lines) {
        std::string framed;
        for (const auto& line : lines) {
            SendCommand(line);
            framed += (g_bRs485 ? "05" : "") + line;
        }
        EXPECT_EQ(pty.Read(framed.size()), framed);
    }
    CPtyPair pty;
};

TEST_F(LinkPtyTest, ThePortCarriesTheLineSettings) {
    termios tio{};
    ASSERT_EQ(tcgetattr(g_hComm, &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), B9600);
    EXPECT_EQ(cfgetispeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    // A pseudo-terminal clears PARENB whatever is asked; PARODD must stay off for even parity.
    EXPECT_FALSE(tio.c_cflag & PARODD);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_TRUE(tio.c_cflag & CRTSCTS);
    EXPECT_TRUE(tio.c_cflag & CLOCAL);
    EXPECT_TRUE(tio.c_cflag & CREAD);
    EXPECT_TRUE(tio.c_iflag & IXON);
    EXPECT_TRUE(tio.c_iflag & IXOFF);
    EXPECT_FALSE(tio.c_iflag & (INPCK | ICRNL | INLCR | IGNCR | ISTRIP | IXANY));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);

    termios wanted{};
    ApplyLineSettings(wanted);
    EXPECT_TRUE(wanted.c_cflag & PARENB);  // asked for, even though the pty drops it
}

TEST_F(LinkPtyTest, LinesGoOutFramedByteForByte) {
    SendCommand("TSDY\r\n");
    EXPECT_EQ(pty.Read(6), "TSDY\r\n");
    g_bRs485 = 1;
    for (auto [address, prefix] : {std::pair{0, "00"}, {5, "05"}, {17, "17"}}) {
        g_nSlaveAddress = address;
        SendCommand("OTP07\r\n");
        EXPECT_EQ(pty.Read(9), std::string(prefix) + "OTP07\r\n");
    }
    EXPECT_EQ(pty.ReadFor(50), "");  // nothing more
    EXPECT_EQ(g_bAwaitingReply, 1);
}

TEST_F(LinkPtyTest, AReplyInThreePiecesIsInterpretedOnce) {
    Ask({"TSDY\r\n"});
    pty.Write("G");
    std::this_thread::sleep_for(30ms);
    pty.Write("O\r");
    std::this_thread::sleep_for(30ms);
    WaitForReplies(50);
    EXPECT_TRUE(sink.boxes.empty());
    pty.Write("\n");
    EXPECT_TRUE(DispatchUntil([&] { return !sink.boxes.empty(); }));
    WaitForReplies(100);
    EXPECT_EQ(sink.boxes, Boxes({{BoxKind::kSuccess, "Success"}}));
}

TEST_F(LinkPtyTest, TwoRepliesInOneReadAreTwoLines) {
    Ask({"TSDY\r\n", "TSDM\r\n"});
    pty.Write("GO\r\nE3\r\n");
    EXPECT_TRUE(DispatchUntil([&] { return sink.boxes.size() == 2; }));
    EXPECT_EQ(sink.boxes,
              Boxes({{BoxKind::kSuccess, "Success"}, {BoxKind::kReplyError, "Command Error"}}));
    EXPECT_EQ(g_bErrorReply, 1);
}

TEST_F(LinkPtyTest, AnOverlongLineIsDroppedAndTheNextOneRead) {
    Ask({"ROTP\r\n"});
    pty.Write(std::string(1000, 'A') + "\r\nOTP12\r\n");
    EXPECT_TRUE(DispatchUntil([&] { return g_nCurMemory == 12; }));
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(LinkPtyTest, Rs485RepliesLoseTheirAddressEcho) {
    g_bRs485 = 1;
    g_nSlaveAddress = 5;
    Ask({"RTSD\r\n"});
    pty.Write("05TSDM\r\n");
    EXPECT_TRUE(DispatchUntil([&] { return g_nDateFormat == 1; }));
}

TEST_F(LinkPtyTest, TheNextLineWaitsUntilTheBoxIsDismissed) {
    int nested = 0;
    sink.whileOpen = [&](const RecordedBox& box) {
        if (box.text != "Command Error") return;
        pty.Write("OTP09\r\nGO\r\n");
        // Inside the box the owner's event loop keeps running: nothing more is interpreted.
        std::this_thread::sleep_for(50ms);
        DispatchReplies();
        nested = g_nCurMemory;
    };
    Ask({"TSDY\r\n", "ROTP\r\n", "TSDM\r\n"});
    pty.Write("E3\r\n");
    EXPECT_TRUE(DispatchUntil([&] { return sink.boxes.size() == 2; }));
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(g_nCurMemory, 9);
    EXPECT_EQ(sink.boxes.back(), (RecordedBox{BoxKind::kSuccess, "Success"}));
}

TEST_F(LinkPtyTest, RestartWhileTheThreadWaitsReplacesItAndTheLinkWorksOn) {
    std::this_thread::sleep_for(50ms);  // the thread is blocked in its wait
    auto started = std::chrono::steady_clock::now();
    RestartLink();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 500ms);
    ASSERT_GE(g_hComm, 0);
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes[0].text;
    SendCommand("ROTP\r\n");
    EXPECT_EQ(pty.Read(6), "ROTP\r\n");
    pty.Write("OTP03\r\n");
    EXPECT_TRUE(DispatchUntil([&] { return g_nCurMemory == 3; }));
}

// What the old port's thread queued and the owner had not handled yet is of a
// port that is gone: neither its loss nor its lines reach the new link.
TEST_F(LinkPtyTest, ARestartDropsWhatTheOldPortQueued) {
    Link().Replies().Push("OTP07\r\n");
    Link().Replies().PushEvent(CPortEvent::Lost(CLinkFailure::System(EIO, pty.SlavePath())));
    RestartLink();
    ASSERT_GE(g_hComm, 0);
    std::this_thread::sleep_for(50ms);
    DispatchReplies();
    EXPECT_GE(g_hComm, 0);
    EXPECT_TRUE(Link().State().Connected());
    EXPECT_NE(g_nCurMemory, 7);
    EXPECT_TRUE(sink.boxes.empty()) << sink.boxes[0].text;
}

TEST_F(LinkPtyTest, AnIdleLinkUsesNoCpu) {
    auto before = ThreadCpuTime(g_hReadThread);
    std::this_thread::sleep_for(1s);
    EXPECT_LT(ThreadCpuTime(g_hReadThread) - before, 20ms);
}

TEST_F(LinkPtyTest, AHungUpPortIsRetriedCalmly) {
    pty.CloseMaster();
    std::this_thread::sleep_for(100ms);
    auto before = ThreadCpuTime(g_hReadThread);
    std::this_thread::sleep_for(1s);
    EXPECT_LT(ThreadCpuTime(g_hReadThread) - before, 50ms);
}

TEST_F(LinkPtyTest, OutputStalledForASecondIsDiscarded) {
    pty.Write("\x13");  // XOFF: the port stops sending
    std::this_thread::sleep_for(50ms);
    auto started = std::chrono::steady_clock::now();
    SendCommand("TSDY\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started, 50ms);  // never blocks the caller
    EXPECT_EQ(pty.ReadFor(300), "");
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(Link().Writer().PendingBytes(), 0u);
    pty.Write("\x11");                // XON
    EXPECT_EQ(pty.ReadFor(200), "");  // the timed-out line is gone
    SendCommand("TSDM\r\n");
    EXPECT_EQ(pty.Read(6), "TSDM\r\n");
}

TEST_F(LinkPtyTest, OutputBrieflyStalledIsFinishedByTheIoThread) {
    pty.Write("\x13");
    std::this_thread::sleep_for(50ms);
    SendCommand("TSDY\r\n");
    std::this_thread::sleep_for(300ms);
    pty.Write("\x11");
    EXPECT_EQ(pty.Read(6), "TSDY\r\n");
}

// The port opened while no wake event can be created (the process is out of
// descriptors, say).
class NoWakeEventTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        Link().Replies().Clear();
    }
    void TearDown() override {
        CloseCommHandles();
        Link().Writer().Reset();
        Link().SetCommPortOverride("");
        Link().Replies().Clear();
    }
    static int FailToCreate() {
        errno = EMFILE;
        return -1;
    }
    // The stop sequence, which must return on its own. Should it hang, a byte
    // from the switcher's side frees the thread so that the suite goes on.
    ::testing::AssertionResult StopsWithin(std::chrono::milliseconds limit) {
        auto stopped = std::async(std::launch::async, StopReadThread);
        if (stopped.wait_for(limit) == std::future_status::ready) {
            return ::testing::AssertionSuccess();
        }
        if (pty.Master() >= 0) pty.Write("\n");
        stopped.wait();
        return ::testing::AssertionFailure() << "the stop sequence did not return";
    }
    CPtyPair pty;
};

TEST_F(NoWakeEventTest, TheLinkWorksAndTheStopSequenceStillReturns) {
    Link().SetCommPortOverride(pty.SlavePath());
    OpenCommPort(FailToCreate);
    ASSERT_GE(g_hComm, 0);
    EXPECT_EQ(Link().WakeFd(), -1);
    EXPECT_TRUE(sink.boxes.empty());
    StartReadThread();
    SendCommand("ROTP\r\n");
    EXPECT_EQ(pty.Read(6), "ROTP\r\n");
    pty.Write("OTP03\r\n");
    EXPECT_TRUE(DispatchUntil([] { return g_nCurMemory == 3; }));
    SendCommand("TSDY\r\n");
    EXPECT_EQ(pty.Read(6), "TSDY\r\n");
    std::this_thread::sleep_for(50ms);  // the thread is blocked in its wait
    EXPECT_TRUE(StopsWithin(1s));
    EXPECT_FALSE(g_hReadThread.joinable());
}

TEST_F(NoWakeEventTest, WithoutAPortEitherTheStopSequenceReturns) {
    Link().SetCommPortOverride("/dev/qelvar-no-such-port");
    OpenCommPort(FailToCreate);
    EXPECT_EQ(sink.boxes.size(), 5u);
    StartReadThread();
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(StopsWithin(1s));
}

class PortSetupTest : public LinkTest {
protected:
    void TearDown() override {
        StopLink();
        Link().SetCommPortOverride("");
    }
    static std::vector<std::string> Texts(const std::vector<RecordedBox>& boxes) {
        std::vector<std::string> texts;
        for (const auto& box : boxes) {
            EXPECT_EQ(box.kind, BoxKind::kSetupError);
            texts.push_back(box.text);
        }
        return texts;
    }
    const std::vector<std::string> fiveBoxes(const std::string& reason) {
        return {"Miss! File Open\n" + reason, "Miss! Mask Set", "Miss! Buffer Set",
                "Miss! Time Out Set", "Miss! Set Comm State"};
    }
};

TEST_F(PortSetupTest, AMissingPortGivesTheFiveBoxesInOrderAndTheThreadStillRuns) {
    Link().SetCommPortOverride("/dev/qelvar-no-such-port");
    StartLink();
    EXPECT_EQ(Texts(sink.boxes),
              fiveBoxes("/dev/qelvar-no-such-port: " + std::string(std::strerror(ENOENT))));
    EXPECT_EQ(g_hComm, -1);
    EXPECT_TRUE(g_hReadThread.joinable());
    auto before = ThreadCpuTime(g_hReadThread);
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(ThreadCpuTime(g_hReadThread) - before, 10ms);
    SendCommand("TSDY\r\n");  // fails without a word
    EXPECT_EQ(sink.boxes.size(), 5u);
}

TEST_F(PortSetupTest, APortHeldByAnotherProgramFailsLikeAMissingOne) {
    CPtyPair pty;
    int other = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    Link().SetCommPortOverride(pty.SlavePath());
    StartLink();
    EXPECT_EQ(Texts(sink.boxes), fiveBoxes(pty.SlavePath() + ": in use by another program"));
    ::close(other);
}

TEST_F(PortSetupTest, ThePortIsHeldExclusivelyUntilClosed) {
    CPtyPair pty;
    Link().SetCommPortOverride(pty.SlavePath());
    StartLink();
    ASSERT_TRUE(sink.boxes.empty());
    int other = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    bool refused = other < 0 || ::flock(other, LOCK_EX | LOCK_NB) != 0;
    EXPECT_TRUE(refused);
    if (other >= 0) ::close(other);
    StopLink();
    other = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(other, 0);
    EXPECT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
}

TEST_F(PortSetupTest, ADeviceThatIsNotATerminalReportsTheStepsThatFail) {
    Link().SetCommPortOverride("/dev/null");
    StartLink();
    EXPECT_EQ(Texts(sink.boxes), (std::vector<std::string>{"Miss! Buffer Set", "Miss! Time Out Set",
                                                           "Miss! Set Comm State"}));
}

// The boxes come from the value: each step that failed, in the order tried.
// A caller that reports nothing gets no box and reads the same list.
TEST_F(PortSetupTest, TheResultListsTheStepsThatFailedInOrder) {
    Link().SetCommPortOverride("/dev/qelvar-no-such-port");
    const CSetupResult missing = StartLink(IgnoreSetupFailure);
    EXPECT_TRUE(sink.boxes.empty());
    std::vector<SetupStep> steps;
    std::vector<std::string> texts;
    for (const CSetupFailure& failure : missing.failures) {
        steps.push_back(failure.step);
        texts.push_back(SetupFailureText(failure));
    }
    EXPECT_EQ(steps, (std::vector<SetupStep>{SetupStep::kOpen, SetupStep::kMask, SetupStep::kBuffer,
                                             SetupStep::kTimeOut, SetupStep::kCommState}));
    EXPECT_EQ(texts, fiveBoxes("/dev/qelvar-no-such-port: " + std::string(std::strerror(ENOENT))));
    StopLink();

    Link().SetCommPortOverride("/dev/zero");  // a device no other test holds
    const CSetupResult notSerial = StartLink(IgnoreSetupFailure);
    EXPECT_EQ(notSerial, (CSetupResult{{{SetupStep::kBuffer, {}},
                                        {SetupStep::kTimeOut, {}},
                                        {SetupStep::kCommState, {}}}}));
    EXPECT_FALSE(notSerial.Ok());
    StopLink();

    CPtyPair pty;
    Link().SetCommPortOverride(pty.SlavePath());
    EXPECT_TRUE(StartLink(IgnoreSetupFailure).Ok());
    EXPECT_TRUE(sink.boxes.empty());
}

// Each box is shown as its step fails: before the link's state tells of the
// open and before the I/O thread runs, as the set-up boxes always were.
TEST_F(PortSetupTest, TheBoxesComeBeforeTheStateChangesAndTheThreadStarts) {
    Link().SetCommPortOverride("/dev/full");  // a device no other test holds
    int shown = 0;
    sink.whileOpen = [&](const RecordedBox&) {
        ++shown;
        EXPECT_EQ(Link().State().Status(), LinkStatus::kNoPort);
        EXPECT_FALSE(g_hReadThread.joinable());
    };
    const CSetupResult setup = StartLink();
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(setup.failures.size(), 3u);
    EXPECT_EQ(Link().State().Status(), LinkStatus::kConnected);
}

}  // namespace
