#include "link/reply_interpreter.h"

#include "tests/link/link_fixture.h"

namespace {

using ReplyInterpreterTest = LinkTest;

TEST_F(ReplyInterpreterTest, GoShowsSuccessOnlyWhenNoCycleRuns) {
    InterpretReply("GO\r\n");
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
    EXPECT_STREQ(BoxCaption(BoxKind::kSuccess), "設定完了");

    g_nSendStep = 5;
    InterpretReply("GO\r\n");
    EXPECT_EQ(sink.boxes.size(), 1u);
}

TEST_F(ReplyInterpreterTest, EveryLineClearsTheMonitorAndTheErrorFlag) {
    for (const char* line : {"GO\r\n", "junk\r\n", "AST01\r\n", "\n"}) {
        g_bAwaitingReply = 1;
        g_nNoReplyTicks = 4;
        g_bErrorReply = 1;
        g_nSendStep = 1;
        InterpretReply(line);
        EXPECT_EQ(g_bAwaitingReply, 0) << line;
        EXPECT_EQ(g_nNoReplyTicks, 0) << line;
        EXPECT_EQ(g_bErrorReply, 0) << line;
    }
}

TEST_F(ReplyInterpreterTest, ErrorRepliesRaiseTheFlagAndShowTheirBoxEvenDuringACycle) {
    const std::pair<const char*, const char*> replies[] = {
        {"GN\r\n", "Mode Error"},   {"MENU\r\n", "Menu Display"}, {"E0\r\n", "Framing Error"},
        {"E1\r\n", "Parity Error"}, {"E2\r\n", "Over Run Error"}, {"E3\r\n", "Command Error"},
    };
    g_nSendStep = 3;
    for (auto [reply, message] : replies) {
        sink.boxes.clear();
        g_bErrorReply = 0;
        InterpretReply(reply);
        EXPECT_EQ(g_bErrorReply, 1) << reply;
        EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kReplyError, message}}));
    }
    // The flag is up while the box is open: a cycle's tick may run meanwhile.
    sink.whileOpen = [](const RecordedBox&) { EXPECT_EQ(g_bErrorReply, 1); };
    InterpretReply("E3\r\n");
}

TEST_F(ReplyInterpreterTest, LinesThatAreNotExactRepliesAreIgnored) {
    for (const char* line : {"GO", "GO\n", "go\r\n", "GO \r\n", "GO\r\nE3\r\n", "E3 \r\n", "E4\r\n",
                             "MENUS\r\n", "\r\n"}) {
        InterpretReply(line);
        EXPECT_EQ(g_bErrorReply, 0) << line;
    }
    EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(ReplyInterpreterTest, Rs485DropsTheTwoAddressCharactersUnseen) {
    g_bRs485 = 1;
    InterpretReply("17GO\r\n");
    InterpretReply("xyGO\r\n");
    InterpretReply("GO\r\n");  // "\r\n" alone is left: not a reply
    InterpretReply("05E3\r\n");
    InterpretReply("05OTP07\r\n");
    InterpretReply("\n");
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"},
                                                    {BoxKind::kSuccess, "Success"},
                                                    {BoxKind::kReplyError, "Command Error"}}));
    EXPECT_EQ(g_nCurMemory, 7);
}

TEST_F(ReplyInterpreterTest, OtpIsNotTakenForAnOutputLine) {
    auto before = g_nPattern[0];
    InterpretReply("OTP07\r\n");
    EXPECT_EQ(g_nCurMemory, 7);
    EXPECT_EQ(g_nPattern[0], before);
}

TEST_F(ReplyInterpreterTest, DataLinesNeverTouchTheModifiedFlagOrShowABox) {
    InterpretReply("TSDM\r\n");
    InterpretReply("CTO" + std::string(32, 'F') + "\r\n");
    EXPECT_EQ(g_nDateFormat, 1);
    EXPECT_EQ(g_nOutTitleDisp[31], 0);
    EXPECT_EQ(g_bModified, 0);
    EXPECT_TRUE(sink.boxes.empty());
}

// The value says what the line was, the same on RS-485 once the address
// echo is dropped; the boxes and the flag go with it as before.
TEST_F(ReplyInterpreterTest, TheResultSaysWhatEachLineWas) {
    for (int rs485 : {0, 1}) {
        g_bRs485 = rs485;
        const std::string echo = rs485 ? "05" : "";
        sink.boxes.clear();
        EXPECT_EQ(InterpretReply(echo + "GO\r\n").kind, ReplyKind::kGo);
        EXPECT_EQ(g_bErrorReply, 0);

        const CReply error = InterpretReply(echo + "MENU\r\n");
        EXPECT_EQ(error.kind, ReplyKind::kError);
        EXPECT_EQ(error.error, ErrorReply::kMenuDisplay);
        EXPECT_EQ(g_bErrorReply, 1);

        const CReply data = InterpretReply(echo + "OTP09\r\n");
        EXPECT_EQ(data.kind, ReplyKind::kData);
        EXPECT_EQ(data.data, DataLine::kCurMemory);
        EXPECT_EQ(g_nCurMemory, 9);

        const CReply other = InterpretReply(echo + "HELLO\r\n");
        EXPECT_EQ(other.kind, ReplyKind::kOther);
        EXPECT_EQ(other.error, std::nullopt);
        EXPECT_EQ(other.data, std::nullopt);
        EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"},
                                                        {BoxKind::kReplyError, "Menu Display"}}))
            << rs485;
    }
}

}  // namespace
