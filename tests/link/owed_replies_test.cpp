// Which line each received line answers.
#include "link/owed_replies.h"

#include <gtest/gtest.h>

namespace {

using Clock = COwedReplies::Clock;
using std::chrono::milliseconds;

COwedReply Set(const std::string& framed, int address = -1) {
    COwedReply owed;
    owed.strSent = framed;
    owed.nAddress = address;
    return owed;
}

COwedReply Read(const std::string& framed, DataLine item, int number = 0, int address = -1) {
    COwedReply owed = Set(framed, address);
    owed.read = CReadRequest{item, number};
    return owed;
}

const std::string kCpi32 = "CPI" + std::string(32, 'B') + "\r\n";

class OwedRepliesTest : public ::testing::Test {
protected:
    // The id of the line the reply was taken for; 0 for none.
    unsigned long Taken(const std::string& line, bool rs485 = false) {
        CAttribution a = owed.Attribute(line, rs485, t0);
        return a.owed && !a.bEcho ? a.owed->nId : 0;
    }
    COwedReplies owed;
    Clock::time_point t0 = Clock::now();
};

TEST_F(OwedRepliesTest, RepliesAnswerTheLinesInTheOrderTheyWentOut) {
    const auto a = owed.Owe(Set("TSDY\r\n"), t0);
    const auto b = owed.Owe(Set("TSDM\r\n"), t0);
    EXPECT_EQ(Taken("GO\r\n"), a);
    EXPECT_EQ(owed.Fate(a, t0), ReplyFate::kAnswered);
    EXPECT_EQ(owed.Fate(b, t0), ReplyFate::kOwed);
    EXPECT_EQ(Taken("E3\r\n"), b);
    EXPECT_EQ(owed.Answer(b), "E3\r\n");
    EXPECT_TRUE(owed.Attribute("GO\r\n", false, t0).Unsolicited());  // nothing owed any more
}

TEST_F(OwedRepliesTest, AQuestionGivenUpKeepsItsAnswerOwed) {
    const auto probe = owed.Owe(Read("RCPI\r\n", DataLine::kTitlePositions), t0);
    owed.GiveUp(probe);
    EXPECT_FALSE(owed.Awaited(t0));
    const auto first = owed.Owe(Set("AST01...\r\n"), t0);
    // Its late answer is its own, not the first line's.
    CAttribution late = owed.Attribute(kCpi32, false, t0);
    EXPECT_TRUE(late.Late());
    EXPECT_EQ(late.owed->nId, probe);
    EXPECT_EQ(owed.Fate(first, t0), ReplyFate::kOwed);
    EXPECT_EQ(Taken("GO\r\n"), first);

    // One whose answer cannot be this line got none: the line answers the next.
    const auto again = owed.Owe(Read("RCPI\r\n", DataLine::kTitlePositions), t0);
    owed.GiveUp(again);
    const auto next = owed.Owe(Set("TSDY\r\n"), t0);
    EXPECT_EQ(Taken("GO\r\n"), next);
    EXPECT_EQ(owed.Fate(again, t0), ReplyFate::kUnanswered);
}

TEST_F(OwedRepliesTest, OnRs485AQuestionGivenUpIsAnsweredOnlyFromItsAddress) {
    std::vector<unsigned long> asked;
    for (int address : {3, 4, 5}) {
        asked.push_back(owed.Owe(
            Read("0" + std::to_string(address) + "RCPI\r\n", DataLine::kTitlePositions, 0, address),
            t0));
        owed.GiveUp(asked.back());
    }
    CAttribution late = owed.Attribute("04" + kCpi32, true, t0);
    ASSERT_TRUE(late.Late());
    EXPECT_EQ(late.owed->nId, asked[1]);  // 03 got none
    EXPECT_EQ(owed.Fate(asked[0], t0), ReplyFate::kUnanswered);
    EXPECT_EQ(owed.Fate(asked[2], t0), ReplyFate::kOwed);
}

TEST_F(OwedRepliesTest, ADataLineSkipsTheLinesWhoseAnswersWereLost) {
    const auto first = owed.Owe(Read("RAST01\r\n", DataLine::kSeqPattern, 1), t0);
    const auto second = owed.Owe(Read("RAST02\r\n", DataLine::kSeqPattern, 2), t0);
    const auto third = owed.Owe(Read("RAST03\r\n", DataLine::kSeqPattern, 3), t0);
    EXPECT_EQ(Taken("AST02" + std::string(64, '3') + "\r\n"), second);
    EXPECT_EQ(owed.Fate(first, t0), ReplyFate::kUnanswered);
    // A data line nobody asked for goes to the line owed first, which it does not answer.
    EXPECT_EQ(Taken("AST09" + std::string(64, '3') + "\r\n"), third);
}

TEST_F(OwedRepliesTest, AnEchoAnswersNothing) {
    const auto line = owed.Owe(Set("05AST01\r\n", 5), t0);
    CAttribution echo = owed.Attribute("05AST01\r\n", true, t0);
    EXPECT_TRUE(echo.bEcho);
    EXPECT_EQ(echo.owed->nId, line);
    EXPECT_EQ(owed.Fate(line, t0), ReplyFate::kOwed);
    EXPECT_EQ(Taken("05GO\r\n", true), line);  // the switcher behind the echo answers it
}

TEST_F(OwedRepliesTest, ALineIsOwedForTheReplyTimeAndNotOnceThePortIsGone) {
    const auto old = owed.Owe(Set("TSDY\r\n"), t0);
    const auto recent = owed.Owe(Set("TSDM\r\n"), t0 + milliseconds(3000));
    const auto after = t0 + milliseconds(kReplyTimeMs);
    EXPECT_EQ(owed.Fate(old, after), ReplyFate::kUnanswered);
    EXPECT_EQ(owed.Attribute("GO\r\n", false, after).owed->nId, recent);

    const auto lost = owed.Owe(Set("TSDD\r\n"), after);
    owed.Forget();
    EXPECT_EQ(owed.Fate(lost, after), ReplyFate::kUnanswered);
    EXPECT_TRUE(owed.Attribute("GO\r\n", false, after).Unsolicited());
}

}  // namespace
