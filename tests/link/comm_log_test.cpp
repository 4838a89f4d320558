#include "link/comm_log.h"

#include <ctime>

#include "link/link_context.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "link/transmitter.h"
#include "tests/link/link_fixture.h"

namespace {

using namespace std::chrono;
using namespace std::string_literals;

// A moment at the given local time of day, on a fixed date.
system_clock::time_point LocalTime(int hour, int minute, int second, int ms) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 4;
    t.tm_mday = 17;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return system_clock::from_time_t(std::mktime(&t)) + milliseconds(ms);
}

std::vector<std::string> Lines(const CCommLog& log) {
    std::vector<std::string> lines;
    for (const auto& entry : log.Entries()) lines.push_back(entry.line);
    return lines;
}

TEST(CommLogFormatTest, StampDirectionAndVisibleLine) {
    CCommLogEntry sent{LocalTime(19, 40, 3, 123), CommDirection::kSent, "AST01...\r\n"};
    EXPECT_EQ(FormatEntry(sent), "19:40:03.123 > AST01...<CR><LF>");
    CCommLogEntry received{LocalTime(7, 5, 9, 7), CommDirection::kReceived, "05GO\r\n"};
    EXPECT_EQ(FormatEntry(received), "07:05:09.007 < 05GO<CR><LF>");
    // What a device may send to take over a terminal shows as bytes.
    CCommLogEntry hostile{LocalTime(7, 5, 9, 8), CommDirection::kReceived,
                          "\x1b]0;x\x07\x1b[2J\0\x9b\x82\xa0\r\n"s};
    EXPECT_EQ(FormatEntry(hostile),
              R"(07:05:09.008 < \x1b]0;x\x07\x1b[2J\x00\x9b\x82\xa0<CR><LF>)");
}

TEST(CommLogFormatTest, ANoteIsALineOfItsOwnWithItsTextReadable) {
    CCommLog log;
    log.Add({LocalTime(8, 0, 0, 5), CommDirection::kSent, "RTSD\r\n"});
    log.AddNote(
        "profile /home/操作/Qelvar.ini: com_port=\x1b"
        "9 ignored");
    ASSERT_EQ(log.Entries().size(), 2u);
    EXPECT_EQ(log.Entries().back().direction, CommDirection::kNote);
    EXPECT_EQ(FormatEntry(log.Entries().back()).substr(12),
              R"( ! profile /home/操作/Qelvar.ini: com_port=\x1b9 ignored)");
}

TEST(CommLogFormatTest, LogIsOneTextLinePerEntryOldestFirst) {
    CCommLog log;
    EXPECT_EQ(FormatLog(log), "");
    log.Add({LocalTime(10, 0, 0, 0), CommDirection::kSent, "RTSD\r\n"});
    log.Add({LocalTime(10, 0, 0, 250), CommDirection::kReceived, "TSDY\r\n"});
    EXPECT_EQ(FormatLog(log), "10:00:00.000 > RTSD<CR><LF>\n10:00:00.250 < TSDY<CR><LF>\n");
}

TEST(CommLogTest, KeepsTheNewestEntriesInOrderUpToItsCapacity) {
    CCommLog log(3);
    for (int i = 1; i <= 5; ++i) log.Add(CommDirection::kSent, "L" + std::to_string(i));
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"L3", "L4", "L5"}));
    EXPECT_EQ(log.TotalAdded(), 5u);
    EXPECT_EQ(CCommLog().Capacity(), 5000u);
}

TEST(CommLogTest, AddStampsNowAndClearKeepsTheCount) {
    CCommLog log;
    int changes = 0;
    log.SetChangeCallback([&] { ++changes; });
    const auto before = system_clock::now();
    log.Add(CommDirection::kReceived, "GO\r\n");
    EXPECT_GE(log.Entries().back().time, before);
    EXPECT_LE(log.Entries().back().time, system_clock::now());
    EXPECT_EQ(log.Entries().back().direction, CommDirection::kReceived);
    log.Add(CommDirection::kSent, "X");
    log.Clear();
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(log.TotalAdded(), 2u);
    EXPECT_EQ(changes, 3);
}

class CommLogLinkTest : public LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        Link().Replies().Clear();
        Link().SetLineTap([this](std::string_view line) { wire.emplace_back(line); });
    }
    void TearDown() override { Link().SetLineTap({}); }
    std::vector<std::string> wire;
};

TEST_F(CommLogLinkTest, RecordsFramedSendsAndRepliesInWireOrder) {
    CCommLog log;
    log.FollowLink();
    g_bRs485 = 1;
    g_nSlaveAddress = 5;
    SendCommand("TSDY\r\n");
    Link().Replies().Push("05GO\r\n");
    Link().Replies().Push("05E1\r\n");
    DispatchReplies();
    SendCommand("RTSD\r\n");

    EXPECT_EQ(Lines(log),
              (std::vector<std::string>{"05TSDY\r\n", "05GO\r\n", "05E1\r\n", "05RTSD\r\n"}));
    EXPECT_EQ(log.Entries()[0].direction, CommDirection::kSent);
    EXPECT_EQ(log.Entries()[1].direction, CommDirection::kReceived);
    EXPECT_EQ(log.Entries()[2].direction, CommDirection::kReceived);
    EXPECT_EQ(log.Entries()[3].direction, CommDirection::kSent);
    EXPECT_EQ(wire, (std::vector<std::string>{"05TSDY\r\n", "05RTSD\r\n"}));
    // Logged, then interpreted as before; the second reply answers nothing
    // that was sent, and is logged only.
    EXPECT_EQ(sink.boxes, (std::vector<RecordedBox>{{BoxKind::kSuccess, "Success"}}));
}

// Behind a box the owner thread gets to a line, or to what the I/O thread saw,
// only later: the log says when it happened.
TEST_F(CommLogLinkTest, LinesAndLinkChangesAreStampedWhenTheyHappened) {
    CCommLog log;
    log.FollowLink();
    const auto then = std::chrono::system_clock::now() - std::chrono::seconds(20);
    SendCommand("TSDY\r\n");
    DispatchLine("GO\r\n", then);
    Link().State().Begin("COM1 /dev/ttyUSB0", false, LinkStatus::kConnected);
    CPortEvent lost = CPortEvent::Lost(CLinkFailure::Of(CLinkFailure::Kind::kHungUp));
    lost.time = then + std::chrono::seconds(1);
    Link().State().Apply(lost);
    ASSERT_EQ(log.Entries().size(), 4u);
    EXPECT_EQ(log.Entries()[1].time, then);
    EXPECT_EQ(log.Entries()[3].time, lost.time);
    EXPECT_GT(log.Entries()[2].time, then + std::chrono::seconds(10));  // the start: now
}

TEST_F(CommLogLinkTest, RecordsOnlyWhatWentOnTheWireWhileStarted) {
    CCommLog log;
    SendCommand("TSDY\r\n");
    log.FollowLink();
    EXPECT_EQ(SendCommand(std::string(200, 'X') + "\r\n"), -1);  // refused, never sent
    SendCommand("TSDN\r\n");
    log.StopFollowingLink();
    SendCommand("TSDY\r\n");
    Link().Replies().Push("GO\r\n");
    DispatchReplies();
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"TSDN\r\n"}));
}

TEST_F(CommLogLinkTest, DestroyingAnotherLogLeavesTheFeedAlone) {
    CCommLog kept;
    {
        CCommLog replaced;
        replaced.FollowLink();
        kept.FollowLink();
    }
    SendCommand("TSDY\r\n");
    EXPECT_EQ(Lines(kept), (std::vector<std::string>{"TSDY\r\n"}));
}

// The log window and the command-line tool's --verbose and last-reply watch
// the same link without either pushing the other out.
TEST_F(CommLogLinkTest, TheLogAndAnotherWatcherSeeEveryLineTogether) {
    CCommLog log;
    log.FollowLink();
    std::vector<std::string> verbose;
    std::string lastReply;
    CSubscription sent =
        Link().SentLines().Watch([&](std::string_view line) { verbose.emplace_back(line); });
    CSubscription received = Link().ReceivedLines().Watch([&](std::string_view line) {
        verbose.emplace_back(line);
        lastReply = line;
    });
    SendCommand("RTSD\r\n");
    Link().Replies().Push("TSDY\r\n");
    DispatchReplies();
    EXPECT_EQ(Lines(log), (std::vector<std::string>{"RTSD\r\n", "TSDY\r\n"}));
    EXPECT_EQ(verbose, Lines(log));
    EXPECT_EQ(lastReply, "TSDY\r\n");
    EXPECT_TRUE(log.FollowsLink());

    // Each leaves on its own.
    sent.Cancel();
    received.Cancel();
    SendCommand("TSDN\r\n");
    EXPECT_EQ(Lines(log).back(), "TSDN\r\n");
    EXPECT_EQ(verbose.size(), 2u);
    log.StopFollowingLink();
    EXPECT_FALSE(log.FollowsLink());
    EXPECT_EQ(Link().SentLines().Count(), 0u);
    EXPECT_EQ(Link().ReceivedLines().Count(), 0u);
}

}  // namespace
