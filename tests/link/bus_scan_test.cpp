// Finding the switchers on the line: the scan against virtual switchers on a
// pseudo-terminal, and how it sorts the lines it gets.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "link/bus_scan.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "protocol/fields.h"
#include "sim/switcher_server.h"
#include "tests/link/link_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The link on a line with virtual switchers at 03 (32 inputs) and 17 (64).
class BusScanTest : public LinkTest {
protected:
    void StartBus(const CFaultOptions& faults = {}) {
        StartOn({.nModel = 0, .bRs485 = true, .nAddress = 3}, faults);
        server->AddSwitcher({.nModel = 1, .bRs485 = true, .nAddress = 17});
    }
    void StartOn(const CSwitcherOptions& options, const CFaultOptions& faults = {}) {
        server = std::make_unique<CSwitcherServer>(options, faults);
        ASSERT_TRUE(server->Start()) << server->Error();
        Link().SetCommPortOverride(server->DevicePath());
        StartLink();
        ASSERT_GE(g_hComm, 0);
    }
    void TearDown() override { StopLink(); }

    std::unique_ptr<CSwitcherServer> server;
};

const std::vector<CScanAnswer> kBus = {{3, 0, "CPI" + std::string(32, 'B')},
                                       {17, 1, "CPI" + std::string(64, 'B')}};

TEST_F(BusScanTest, FindsExactlyTheSwitchersOnTheBusAndLeavesTheModelAlone) {
    StartBus();
    g_bRs485 = 1;
    g_nTitlePosition.fill(0);
    std::vector<std::string> sent;
    auto watch = Link().SentLines().Watch([&](std::string_view l) { sent.emplace_back(l); });
    int lastProgress = 0;
    auto answers = RunBusScan(true, 40, [&](int asked, int total) {
        EXPECT_GT(asked, lastProgress);
        EXPECT_EQ(total, 32);
        lastProgress = asked;
    });
    EXPECT_EQ(answers, kBus);
    EXPECT_EQ(lastProgress, 32);
    ASSERT_EQ(sent.size(), 32u);
    EXPECT_EQ(sent[0], "00RCPI\r\n");
    EXPECT_EQ(sent[31], "31RCPI\r\n");
    // The answers were not decoded into the settings, and no reply is awaited.
    for (int i = 0; i < 64; ++i) EXPECT_EQ(g_nTitlePosition[static_cast<size_t>(i)], 0) << i;
    EXPECT_EQ(g_bAwaitingReply, 0);
    EXPECT_FALSE(Link().Taker());
}

TEST_F(BusScanTest, ALateAnswerCountsForTheAddressItNames) {
    StartBus({.nDelayMs = 60});  // each answer comes while a later address is asked
    const auto start = Clock::now();
    EXPECT_EQ(RunBusScan(true, 25), kBus);
    EXPECT_LT(Clock::now() - start, 32 * 25ms + 500ms);
}

// The sorting of lines, without a line: what the scan sends goes to a tap.
// The probe gives up before the answer comes: that answer is still its own,
// and the next command waits for its own reply.
TEST_F(BusScanTest, AnAnswerAfterTheProbeGaveUpIsNotTheNextCommandsReply) {
    for (bool rs485 : {false, true}) {
        SCOPED_TRACE(rs485 ? "RS-485" : "RS-232C");
        StartOn({.nModel = 0, .bRs485 = rs485, .nAddress = 3}, {.nDelayMs = 150});
        g_bRs485 = rs485;
        g_nSlaveAddress = 3;
        g_nTitlePosition.fill(0);
        EXPECT_EQ(ProbeSwitcher(50), std::nullopt);
        sink.boxes.clear();
        SendCommand("TSDM\r\n");
        const unsigned long id = Link().Owed().LastId();
        const auto deadline = Clock::now() + 2s;
        while (Link().Owed().Fate(id) == ReplyFate::kOwed && Clock::now() < deadline) {
            WaitForReplies(20);
        }
        EXPECT_EQ(Link().Owed().Fate(id), ReplyFate::kAnswered);
        EXPECT_EQ(LineBody(Link().Owed().Answer(id)), rs485 ? "03GO" : "GO");
        EXPECT_EQ(g_nTitlePosition[0], 0);  // the late answer decoded nothing
        EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
        StopLink();
        server.reset();
    }
}

TEST_F(BusScanTest, LinesAreTakenOnlyFromAddressesAsked) {
    std::vector<std::string> sent;
    Link().SetLineTap([&](std::string_view l) { sent.emplace_back(l); });
    CBusScan scan(true, 50, {2, 3, 4});
    const auto t0 = Clock::now();
    scan.Start(t0);
    ASSERT_EQ(sent, std::vector<std::string>{"02RCPI\r\n"});
    EXPECT_EQ(scan.MsUntilDue(t0), 50);
    int told = 0;
    scan.SetOnAnswer([&] { ++told; });

    scan.OnLine("03CPI" + std::string(32, 'T') + "\r\n");  // not asked yet
    scan.OnLine("X2CPI\r\n");                              // no address
    scan.OnLine("0");
    EXPECT_TRUE(scan.Answers().empty());
    EXPECT_TRUE(scan.Step(t0 + 49ms));
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(scan.Step(t0 + 50ms));  // 02 is silent: 03 is asked
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "03RCPI\r\n");

    scan.OnLine("02E3\r\n");  // a late answer of 02, while 03 is asked
    EXPECT_EQ(scan.MsUntilDue(t0 + 60ms), 40);
    scan.OnLine("03CPI" + std::string(64, 'B') + "\r\n");
    scan.OnLine("03GO\r\n");  // once per address
    EXPECT_EQ(told, 2);
    EXPECT_EQ(scan.MsUntilDue(t0 + 60ms), 0);  // 03 answered: move on now
    EXPECT_TRUE(scan.Step(t0 + 60ms));
    EXPECT_EQ(sent.back(), "04RCPI\r\n");
    EXPECT_FALSE(scan.Done());
    EXPECT_FALSE(scan.Step(t0 + 110ms));
    EXPECT_TRUE(scan.Done());
    EXPECT_EQ(scan.MsUntilDue(t0 + 110ms), -1);
    EXPECT_EQ(scan.Answers(),
              (std::vector<CScanAnswer>{{2, -1, "E3"}, {3, 1, "CPI" + std::string(64, 'B')}}));
    // An answer that does not tell the model still shows the switcher is there.
    EXPECT_EQ(AnswerModelText(scan.Answers()[0]), "unknown (E3)");
    EXPECT_EQ(AnswerModelText(scan.Answers()[1]), "Qelvar-64");
    // Until the scan goes, even a late answer stays out of the settings model.
    EXPECT_TRUE(Link().Taker());
}

}  // namespace
