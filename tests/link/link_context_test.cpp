// The link's context starts empty again after Reset, and the tests' shared
// reset leaves no link running and nothing of the last test behind.
#include "link/link_context.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>

#include "link/link_lifetime.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "tests/link/link_fixture.h"
#include "tests/support/pty_pair.h"

namespace {

bool Readable(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    return ::poll(&pfd, 1, 0) > 0;
}

bool IsOpenFd(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

// An open port that takes no bytes, so that they wait in the writer.
class CStalledTransport : public ITransport {
public:
    explicit CStalledTransport(int& closes) : m_closes(closes) {}
    std::string Description() const override { return "stalled"; }
    COpenResult Open() override { return {true, {}}; }
    void Close() override { ++m_closes; }
    bool IsOpen() const override { return true; }
    int PollFd() const override { return 0; }
    bool SetNonBlocking() override { return true; }
    bool SetReadTimeouts() override { return true; }
    bool ApplyLineSettings(const CLineSettings&) override { return true; }
    std::optional<CLineSettings> ReadLineSettings() const override { return std::nullopt; }
    bool Discard(Queue) override { return true; }
    size_t OutputQueued() const override { return 0; }
    CIoResult Read(std::span<char>) override { return {IoStatus::kNothing}; }
    CIoResult Write(std::string_view) override { return {IoStatus::kNothing}; }

private:
    int& m_closes;
};

using LinkContextTest = LinkTest;

TEST_F(LinkContextTest, ResetLeavesNothingBehind) {
    CLinkContext link;
    int closes = 0;
    const int wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    link.AdoptPort(std::make_unique<CStalledTransport>(closes), wakeFd);
    link.Writer().Write(link.Port(), "TSDY\r\n");
    ASSERT_EQ(link.Writer().PendingBytes(), 6u);
    link.Replies().Push("GO\r\n");
    int seen = 0;
    CSubscription sent = link.SentLines().Watch([&](std::string_view) { ++seen; });
    CSubscription received = link.ReceivedLines().Watch([&](std::string_view) { ++seen; });
    link.SetLineTap([&](std::string_view) { ++seen; });
    link.NoteSent("TSDY\r\n");
    link.NoteReceived("GO\r\n");
    link.SetDispatching(true);
    link.SetProfilePath("/tmp/p.ini");
    link.SetCommPortOverride("/dev/pts/9");
    ASSERT_EQ(seen, 2);

    link.Reset();

    EXPECT_EQ(link.Port(), nullptr);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(link.WakeFd(), -1);
    EXPECT_FALSE(IsOpenFd(wakeFd));
    EXPECT_EQ(link.Writer().PendingBytes(), 0u);
    EXPECT_EQ(link.Replies().Pop(), std::nullopt);
    EXPECT_FALSE(Readable(link.Replies().ReadyFd()));
    EXPECT_EQ(link.SentLines().Count(), 0u);
    EXPECT_EQ(link.ReceivedLines().Count(), 0u);
    EXPECT_FALSE(sent.Active());
    EXPECT_FALSE(link.Tap());
    EXPECT_EQ(link.LinesSent(), 0u);
    EXPECT_EQ(link.RepliesInterpreted(), 0u);
    EXPECT_FALSE(link.Dispatching());
    EXPECT_EQ(link.GivenProfilePath(), "");
    EXPECT_EQ(link.CommPortOverride(), "");
    link.NoteSent("TSDN\r\n");
    EXPECT_EQ(seen, 2);
}

TEST_F(LinkContextTest, TheSharedResetStopsALinkLeftRunning) {
    CPtyPair pty;
    Link().SetCommPortOverride(pty.SlavePath());
    StartLink();
    ASSERT_GE(g_hComm, 0);
    ASSERT_TRUE(g_hReadThread.joinable());
    CSubscription watching = Link().SentLines().Watch([](std::string_view) {});
    SendCommand("TSDY\r\n");

    ResetProgramState();

    EXPECT_FALSE(g_hReadThread.joinable());
    EXPECT_EQ(g_hComm, -1);
    EXPECT_EQ(Link().Port(), nullptr);
    EXPECT_EQ(Link().WakeFd(), -1);
    EXPECT_EQ(Link().SentLines().Count(), 0u);
    EXPECT_EQ(Link().LinesSent(), 0u);
    EXPECT_EQ(Link().CommPortOverride(), "");
    EXPECT_EQ(g_bAwaitingReply, 0);
}

}  // namespace
