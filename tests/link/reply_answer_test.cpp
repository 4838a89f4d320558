// Only an answer to a line the program sent counts: what a received line does
// once the line it answers is known.
#include "link/reply_answer.h"

#include "link/connection_monitor.h"
#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "link/serial_port.h"
#include "link/transmitter.h"
#include "tests/link/link_fixture.h"

namespace {

class ReplyAnswerTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        Link().SetLineTap([](std::string_view) {});
        received = Link().ReceivedLines().Watch([this](std::string_view) { ++logged; });
    }
    void TearDown() override { Link().SetLineTap({}); }
    void MonitorFor(int ticks) {
        for (int i = 0; i < ticks; ++i) MonitorTick();
    }
    int logged = 0;
    CSubscription received;
};

TEST_F(ReplyAnswerTest, LinesNothingWasOwedAreForTheLogOnly) {
    for (int i = 0; i < 200; ++i) DispatchLine("GO\r\n");
    DispatchLine("E3\r\n");
    DispatchLine("OTP07\r\n");
    EXPECT_TRUE(sink.boxes.empty());
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(logged, 202);

    // A line sent is answered as before.
    SendCommand("TSDY\r\n");
    DispatchLine("GO\r\n");
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
}

TEST_F(ReplyAnswerTest, ASetCommandsAnswerThatIsNeitherGoNorAnErrorStopsLikeAnErrorReply) {
    g_nSendStep = 7;
    SendCommand("TSDY\r\n");
    SendCommand("TSDM\r\n");
    g_nSendStep = 0;
    DispatchLine("HELLO\r\n");
    EXPECT_EQ(g_bErrorReply, 1);
    ASSERT_TRUE(Link().LastFault());
    EXPECT_EQ(Link().LastFault()->kind, AnswerKind::kNotAnAnswer);
    EXPECT_EQ(Link().LastFault()->owed.nStep, 7);
    EXPECT_EQ(Link().LastFault()->owed.strSent, "TSDY\r\n");
    DispatchLine("OTP07\r\n");  // a data line answers no set command either
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "Unknown Reply"},
                                                    {BoxKind::kReplyError, "Unknown Reply"}}));
}

// Under a timer a cycle's replies may all come between two of its ticks: the
// first error among them is the one the cycle sees.
TEST_F(ReplyAnswerTest, AnErrorToACyclesLineStaysUntilTheCycleSeesIt) {
    for (int step = 10; step <= 13; ++step) {
        g_nSendStep = step;
        SendCommand("TSDY\r\n");
    }
    g_nSendStep = 14;
    for (const char* reply : {"GO\r\n", "E3\r\n", "GO\r\n", "E1\r\n"}) DispatchLine(reply);
    EXPECT_EQ(g_bErrorReply, 1);
    ASSERT_TRUE(Link().LastFault());
    EXPECT_EQ(Link().LastFault()->owed.nStep, 11);
    EXPECT_EQ(Link().LastFault()->error, ErrorReply::kCommandError);

    // A single Set's error is the last reply's, as always.
    g_nSendStep = 0;
    g_bErrorReply = 0;
    SendCommand("TSDY\r\n");
    SendCommand("TSDM\r\n");
    DispatchLine("E3\r\n");
    DispatchLine("GO\r\n");
    EXPECT_EQ(g_bErrorReply, 0);
}

TEST_F(ReplyAnswerTest, ALineComingBackAsItWasSentIsAnEcho) {
    g_bRs485 = 1;
    g_nSlaveAddress = 5;
    SendCommand("TSDY\r\n");
    DispatchLine("05TSDY\r\n");
    EXPECT_EQ(g_bErrorReply, 1);
    EXPECT_EQ(Link().LastFault()->kind, AnswerKind::kEcho);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "Echo Reply"}}));

    // A read's echo is no answer, and the answer behind it still lands.
    g_bErrorReply = 0;
    SendCommand("RTSD\r\n");
    DispatchLine("05RTSD\r\n");
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_EQ(Link().Echoes(), 2u);
    DispatchLine("05GO\r\n");    // the set command's own answer, behind its echo
    DispatchLine("05TSDM\r\n");  // the read's
    EXPECT_EQ(g_nDateFormat, 1);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "Echo Reply"},
                                                    {BoxKind::kSuccess, "Success"}}));
}

TEST_F(ReplyAnswerTest, AReadAnsweredByAnythingButItsDataLineLandsNothing) {
    SendCommand("RTSD\r\n");
    SendCommand("RTSD\r\n");
    DispatchLine("GO\r\n");
    DispatchLine("OTP07\r\n");
    EXPECT_EQ(Link().Unreadable(), 2u);
    EXPECT_EQ(g_nCurMemory, 0);
    EXPECT_EQ(g_bErrorReply, 0);
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ReplyAnswerTest, ACyclesLineAnsweredAfterTheCycleShowsNoSuccess) {
    g_nSendStep = 164;
    SendCommand("CA32" + std::string(64, '0') + "\r\n");
    g_nSendStep = 0;  // the run has ended
    DispatchLine("GO\r\n");
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ReplyAnswerTest, NoConnectIsSaidOnceAndALateAnswerRaisesNoSecondBox) {
    SendCommand("TSDY\r\n");
    MonitorFor(7);
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, "No Connect"}}));
    DispatchLine("GO\r\n");
    EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST_F(ReplyAnswerTest, WhileAnotherLineIsOwedTheMonitorGoesOnWaiting) {
    SendCommand("TSDY\r\n");
    SendCommand("TSDM\r\n");
    DispatchLine("GO\r\n");
    EXPECT_EQ(g_bAwaitingReply, 1);
    EXPECT_EQ(g_nNoReplyTicks, 0);
    MonitorFor(7);  // the second never comes
    EXPECT_EQ(sink.boxes.back(), (RecordedBox{BoxKind::kReplyError, "No Connect"}));
}

TEST_F(ReplyAnswerTest, WhatThePortOwedGoesWithIt) {
    for (auto event : {CPortEvent::Lost(CLinkFailure::Of(CLinkFailure::Kind::kHungUp)),
                       CPortEvent::Connected(-1)}) {
        sink.boxes.clear();
        SendCommand("TSDY\r\n");
        ApplyPortEvent(event);
        EXPECT_EQ(g_bAwaitingReply, 0);
        MonitorFor(7);
        DispatchLine("GO\r\n");  // left over in a device's buffer
        EXPECT_TRUE(sink.boxes.empty()) << sink.boxes[0].text;
    }
}

}  // namespace
