#include "link/transmitter.h"

#include "link/connection_monitor.h"
#include "link/link_context.h"
#include "link/reply_interpreter.h"
#include "link/serial_port.h"
#include "tests/link/link_fixture.h"

namespace {

using TransmitterTest = LinkTest;

TEST_F(TransmitterTest, FramingByInterfaceAndSlaveAddress) {
    EXPECT_EQ(FrameCommand("SA05\r\n"), "SA05\r\n");
    g_nSlaveAddress = 17;
    EXPECT_EQ(FrameCommand("TSDY\r\n"), "TSDY\r\n");  // RS-232C ignores the address

    g_bRs485 = 1;
    EXPECT_EQ(FrameCommand("TSDY\r\n"), "17TSDY\r\n");
    g_nSlaveAddress = 0;
    EXPECT_EQ(FrameCommand("TSDY\r\n"), "00TSDY\r\n");
    g_nSlaveAddress = 5;
    EXPECT_EQ(FrameCommand("TSDY\r\n"), "05TSDY\r\n");
    g_nSlaveAddress = 31;
    EXPECT_EQ(FrameCommand("TSDY\r\n"), "31TSDY\r\n");
}

TEST_F(TransmitterTest, SendMarksAReplyAwaitedEvenWithoutAPort) {
    ASSERT_EQ(g_hComm, -1);
    EXPECT_EQ(SendCommand("GO\r\n"), 0);
    EXPECT_EQ(g_bAwaitingReply, 1);
    EXPECT_EQ(g_nSendStep, 0);
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_TRUE(sink.boxes.empty());  // a failed write is not reported
}

TEST_F(TransmitterTest, AnOverlongLineIsRefusedWhole) {
    g_bRs485 = 1;
    std::string line(155, 'X');
    EXPECT_EQ(SendCommand(line + "\r\n"), 0);  // 2 + 155 + 2 = 159
    g_bAwaitingReply = 0;
    EXPECT_EQ(SendCommand(line + "X\r\n"), -1);
    EXPECT_EQ(g_bAwaitingReply, 0);
}

TEST_F(TransmitterTest, NoConnectComesOnceOnTheSeventhTickAfterAnUnansweredSend) {
    SendCommand("TSDY\r\n");
    for (int tick = 1; tick <= 6; ++tick) MonitorTick();
    EXPECT_TRUE(sink.boxes.empty());
    MonitorTick();
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    EXPECT_EQ(g_bAwaitingReply, 0);
    EXPECT_EQ(Link().NoConnects(), 1u);  // what a run watches for
    for (int tick = 0; tick < 20; ++tick) MonitorTick();
    EXPECT_EQ(sink.boxes.size(), 1u);
    EXPECT_EQ(Link().NoConnects(), 1u);
}

TEST_F(TransmitterTest, ASecondSendDoesNotRestartTheCount) {
    SendCommand("TSDY\r\n");
    for (int tick = 1; tick <= 4; ++tick) MonitorTick();
    SendCommand("TSDY\r\n");
    MonitorTick();
    MonitorTick();
    EXPECT_TRUE(sink.boxes.empty());
    MonitorTick();
    EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST_F(TransmitterTest, AReplyInTimeCancelsTheReport) {
    SendCommand("TSDY\r\n");
    for (int tick = 1; tick <= 6; ++tick) MonitorTick();
    g_nSendStep = 1;
    InterpretReply("GO\r\n");
    for (int tick = 0; tick < 20; ++tick) MonitorTick();
    EXPECT_TRUE(sink.boxes.empty());
}

}  // namespace
