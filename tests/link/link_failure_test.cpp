// The link's changes and failures as values, and the English words qelvarctl
// and the set-up boxes give them, which stay as they were.
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "link/link_failure.h"
#include "link/link_state.h"

namespace {

using Kind = CLinkFailure::Kind;

std::string Error(int err) {
    return std::strerror(err);
}

TEST(LinkFailureTest, EachFailureInEnglish) {
    EXPECT_EQ(LinkFailureText({}), "");
    EXPECT_EQ(LinkFailureText(CLinkFailure::System(EIO)), Error(EIO));
    EXPECT_EQ(LinkFailureText(CLinkFailure::System(ECONNREFUSED, "tcp://h:1")),
              "tcp://h:1: " + Error(ECONNREFUSED));
    EXPECT_EQ(LinkFailureText(CLinkFailure::DeviceOpen("/dev/ttyS0", ENOENT)),
              "/dev/ttyS0: " + Error(ENOENT));
    EXPECT_EQ(LinkFailureText(CLinkFailure::DeviceOpen("/dev/ttyS0", EACCES)),
              "/dev/ttyS0: " + Error(EACCES) + " (is the user in the dialout group?)");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Of(Kind::kHungUp)), "hung up");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Of(Kind::kServerClosed)), "closed by the server");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Of(Kind::kInUse, "/dev/ttyUSB0")),
              "/dev/ttyUSB0: in use by another program");
    EXPECT_EQ(LinkFailureText(CLinkFailure::NoAnswer("COM2 tcp://h:1", 3)),
              "COM2 tcp://h:1: no answer within 3 s");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Of(Kind::kNotSerial, "/dev/null")),
              "/dev/null: cannot be set up as a serial port");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Of(Kind::kNoAddress, "tcp://h:1")),
              "tcp://h:1: no address");
    EXPECT_EQ(LinkFailureText(CLinkFailure::Resolver("tcp://h:1", "Name or service not known")),
              "tcp://h:1: Name or service not known");
    EXPECT_EQ(LinkFailureText(CLinkFailure::BadName("x://y", "x://y: not a device")),
              "x://y: not a device");
}

// Every change the state makes, as its watchers get it.
class LinkChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_watch = state.Changes().Watch([this](const CLinkChange& c) { changes.push_back(c); });
    }
    std::vector<std::string> English() const {
        std::vector<std::string> texts;
        for (const auto& change : changes) texts.push_back(LinkChangeText(change));
        return texts;
    }
    CLinkState state;
    std::vector<CLinkChange> changes;

private:
    CSubscription m_watch;
};

TEST_F(LinkChangeTest, ADeviceHandsOverEachChangeAsAValueWithItsEnglishAsBefore) {
    state.Begin("COM1 /dev/ttyUSB0", false, LinkStatus::kWaiting,
                CLinkFailure::DeviceOpen("/dev/ttyUSB0", ENOENT));
    state.Apply(CPortEvent::Connected(7));
    state.Apply(CPortEvent::Stalled(0));
    state.Apply(CPortEvent::Stalled(0));  // no news
    state.Apply(CPortEvent::Stalled(TIOCM_CTS));
    state.Apply(CPortEvent::Resumed());
    state.Apply(CPortEvent::Lost(CLinkFailure::Of(Kind::kHungUp)));
    state.Apply(CPortEvent::Retrying(CLinkFailure::System(EACCES, "/dev/ttyUSB0")));
    const std::string port = "COM1 /dev/ttyUSB0: ";
    EXPECT_EQ(
        English(),
        (std::vector<std::string>{
            port + "waiting for the port (/dev/ttyUSB0: " + Error(ENOENT) + ")", port + "connected",
            port + "output stalled: CTS is off \u2014 check the cable's handshake lines",
            port + "output stalled (CTS is on)", port + "output moves again",
            port + "lost (hung up), waiting for the port",
            port + "waiting for the port (/dev/ttyUSB0: " + Error(EACCES) + ")"}));
    ASSERT_EQ(changes.size(), 7u);
    EXPECT_EQ(changes[0].what, CLinkChange::What::kNotOpened);
    EXPECT_EQ(changes[0].failure, CLinkFailure::DeviceOpen("/dev/ttyUSB0", ENOENT));
    EXPECT_EQ(changes[2].nModemLines, 0);
    EXPECT_EQ(changes[5].what, CLinkChange::What::kLost);
    EXPECT_EQ(changes[5].failure.kind, Kind::kHungUp);
    EXPECT_EQ(state.LastFailure(), CLinkFailure::System(EACCES, "/dev/ttyUSB0"));
    EXPECT_FALSE(state.Stalled());
    EXPECT_EQ(state.Losses(), 1u);
}

TEST_F(LinkChangeTest, AServerReconnectsAndSaysSo) {
    state.Begin("COM2 tcp://h:1", true, LinkStatus::kConnecting);
    state.Apply(CPortEvent::Retrying(CLinkFailure::NoAnswer("COM2 tcp://h:1", 3)));
    state.Apply(CPortEvent::Connected(7));
    state.Apply(CPortEvent::Lost(CLinkFailure::Of(Kind::kServerClosed)));
    EXPECT_EQ(English(), (std::vector<std::string>{
                             "COM2 tcp://h:1: connecting",
                             "COM2 tcp://h:1: reconnecting (COM2 tcp://h:1: no answer within 3 s)",
                             "COM2 tcp://h:1: connected",
                             "COM2 tcp://h:1: lost (closed by the server), reconnecting"}));
    EXPECT_TRUE(changes.back().bNetwork);
    EXPECT_EQ(state.Status(), LinkStatus::kReconnecting);
}

}  // namespace
