// Several virtual switchers on one line, as on an RS-485 bus.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "sim/switcher_bus.h"
#include "sim/switcher_server.h"
#include "tests/sim/port_client.h"
#include "tests/sim/switcher_lines.h"

namespace {

std::vector<CSwitcherOptions> Bus03And17() {
    return {{.nModel = 0, .bRs485 = true, .nAddress = 3},
            {.nModel = 1, .bRs485 = true, .nAddress = 17}};
}

// A switcher at 03 with 32 inputs and one at 17 with 64 on one line.
std::unique_ptr<CSwitcherServer> Server03And17() {
    auto server = std::make_unique<CSwitcherServer>(Bus03And17()[0]);
    server->AddSwitcher(Bus03And17()[1]);
    return server;
}

TEST(SwitcherBus, OnlyTheAddressedSwitcherAnswersWithItsOwnModelAndState) {
    auto owned = Server03And17();
    CSwitcherServer& server = *owned;
    ASSERT_EQ(server.Count(), 2);
    ASSERT_TRUE(server.Start()) << server.Error();
    CPortClient port(server.DevicePath());
    port.Write("05RCPI\r\n03RCPI\r\n17RCPI\r\n");
    EXPECT_EQ(port.ReadLines(2),
              "03CPI" + Repeat("B", 32) + "\r\n17CPI" + Repeat("B", 64) + "\r\n");

    port.Write("03TSDM\r\n17RTSD\r\n03RTSD\r\n");
    EXPECT_EQ(port.ReadLines(3), "03GO\r\n17TSDY\r\n03TSDM\r\n");
    EXPECT_EQ(server.State(0).m_tables.m_nDateFormat, 1);
    EXPECT_EQ(server.State(1).m_tables.m_nDateFormat, 0);
    EXPECT_EQ(server.LinesReceived(), 6);
    // Counted once the last byte is written, which the reader may see first.
    for (int i = 0; i < 100 && server.LinesAnswered() < 5; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(server.LinesAnswered(), 5);
}

TEST(SwitcherBus, AnInterfaceChangeKeepsEachSwitchersModel) {
    auto owned = Server03And17();
    CSwitcherServer& server = *owned;
    server.Reconfigure(-1, true, false);
    EXPECT_EQ(server.State(0).Inputs(), 32);
    EXPECT_EQ(server.State(1).Inputs(), 64);
    server.Reconfigure(1, true, false);
    EXPECT_EQ(server.State(0).Inputs(), 64);
}

TEST(SwitcherBus, SwitchersAreWrittenAsAddressAndInputs) {
    auto a = ParseBusSwitcher("03:64", 0);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->nAddress, 3);
    EXPECT_EQ(a->nModel, 1);
    EXPECT_TRUE(a->bRs485);
    EXPECT_FALSE(a->bAnyAddress);
    auto b = ParseBusSwitcher("7", 1);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->nAddress, 7);
    EXPECT_EQ(b->nModel, 1);
    EXPECT_EQ(ParseBusSwitcher("31:32", 1)->nModel, 0);
    for (const char* bad : {"", "32", "-1", "003", "03:", "03:16", "03:32:", "03x", ":32", "a"}) {
        EXPECT_FALSE(ParseBusSwitcher(bad, 0)) << bad;
    }
    EXPECT_EQ(BusConflict(Bus03And17()), "");
    auto twice = Bus03And17();
    twice.push_back({.bRs485 = true, .nAddress = 17});
    EXPECT_EQ(BusConflict(twice), "two switchers with address 17");
}

}  // namespace
