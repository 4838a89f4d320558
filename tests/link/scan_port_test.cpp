// A search's connection of its own, and what the last search found: a scan
// over a port the link is not on, and the answers kept for the port they came from.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>

#include "link/bus_scan.h"
#include "link/found_switchers.h"
#include "link/link_context.h"
#include "link/scan_port.h"
#include "sim/switcher_server.h"
#include "tests/link/link_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

using ScanPortTest = LinkTest;

// Runs the scan to its end, waiting on the port as the search's notifier does.
void RunOn(CScanPort& port, CBusScan& scan) {
    scan.Start();
    const auto until = Clock::now() + 10s;
    while (!scan.Done() && Clock::now() < until) {
        pollfd fd{port.PollFd(), POLLIN, 0};
        ::poll(&fd, 1, std::max(scan.MsUntilDue(), 0));
        scan.Poll();
        scan.Step();
    }
}

TEST_F(ScanPortTest, AScanOverAPortOfItsOwnFindsTheBusAndNeverTouchesTheLink) {
    CSwitcherServer bus({.nModel = 0, .bRs485 = true, .nAddress = 3});
    bus.AddSwitcher({.nModel = 1, .bRs485 = true, .nAddress = 17});
    ASSERT_TRUE(bus.Start()) << bus.Error();
    CScanPort port(bus.DevicePath());
    ASSERT_EQ(port.Open(), CScanPort::Status::kOpen) << LinkFailureText(port.Failure());
    CBusScan scan(true, 120, {}, ScanLineOn(port));
    RunOn(port, scan);
    ASSERT_TRUE(scan.Done());
    ASSERT_EQ(scan.Answers().size(), 2u);
    EXPECT_EQ(scan.Answers()[0].nAddress, 3);
    EXPECT_EQ(scan.Answers()[0].nModel, 0);
    EXPECT_EQ(scan.Answers()[1].nAddress, 17);
    EXPECT_EQ(scan.Answers()[1].nModel, 1);
    EXPECT_EQ(bus.LinesReceived(), 32);
    EXPECT_EQ(Link().LinesSent(), 0u);
    EXPECT_EQ(Link().Owed().LastId(), 0u);
    EXPECT_FALSE(Link().Taker());
}

// On RS-232C the lone switcher answers once; a port that cannot be opened says why.
TEST_F(ScanPortTest, TheLoneSwitcherAnswersOnceAndAMissingPortSaysWhy) {
    CSwitcherServer lone({.nModel = 1});
    ASSERT_TRUE(lone.Start()) << lone.Error();
    CScanPort port(lone.DevicePath());
    ASSERT_EQ(port.Open(), CScanPort::Status::kOpen);
    CBusScan scan(false, 300, {}, ScanLineOn(port));
    RunOn(port, scan);
    ASSERT_EQ(scan.Answers().size(), 1u);
    EXPECT_EQ(scan.Answers()[0].nAddress, -1);
    EXPECT_EQ(scan.Answers()[0].nModel, 1);

    CScanPort missing("/dev/qelvar-none");
    EXPECT_EQ(missing.Open(), CScanPort::Status::kFailed);
    EXPECT_NE(LinkFailureText(missing.Failure()).find("/dev/qelvar-none"), std::string::npos);
    EXPECT_EQ(missing.PollFd(), -1);
}

TEST(FoundSwitchersTest, AModelHoldsForItsPortAndInterfaceAndFollowsSa) {
    CFoundSwitchers found;
    found.Found("/dev/ttyUSB0", true, {{3, 0, "CPI"}, {17, 1, "CPI"}, {20, -1, "MENU"}});
    EXPECT_EQ(found.ModelAt(17, "/dev/ttyUSB0", true), 1);
    EXPECT_EQ(found.ModelAt(17, "/dev/ttyUSB1", true), std::nullopt);
    EXPECT_EQ(found.ModelAt(17, "/dev/ttyUSB0", false), std::nullopt);
    EXPECT_EQ(found.ModelAt(20, "/dev/ttyUSB0", true), std::nullopt);  // it did not tell
    EXPECT_EQ(found.ModelAt(5, "/dev/ttyUSB0", true), std::nullopt);

    found.Readdress(17, 3);  // the Qelvar-64 takes 03: who was there is not known to be
    EXPECT_EQ(found.ModelAt(3, "/dev/ttyUSB0", true), 1);
    EXPECT_EQ(found.ModelAt(17, "/dev/ttyUSB0", true), std::nullopt);
    ASSERT_EQ(found.Answers().size(), 2u);
    EXPECT_EQ(found.Answers()[0].nAddress, 3);
    found.Readdress(9, 4);  // nobody was found at 09
    EXPECT_EQ(found.Answers().size(), 2u);
}

}  // namespace
