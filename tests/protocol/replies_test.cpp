#include "protocol/replies.h"

#include <gtest/gtest.h>

#include "protocol/data_lines.h"

namespace {

TEST(RepliesTest, KindsOfReply) {
    const std::pair<const char*, ReplyKind> replies[] = {
        {"GO\r\n", ReplyKind::kGo},       {"TSDY\r\n", ReplyKind::kData},
        {"E3\r\n", ReplyKind::kError},    {"MENU\r\n", ReplyKind::kError},
        {"GO", ReplyKind::kOther},        {"GO\n", ReplyKind::kOther},
        {"go\r\n", ReplyKind::kOther},    {"GO \r\n", ReplyKind::kOther},
        {"E3 \r\n", ReplyKind::kOther},   {"E4\r\n", ReplyKind::kOther},
        {"MENUS\r\n", ReplyKind::kOther}, {"\r\n", ReplyKind::kOther},
        {"TSA\r\n", ReplyKind::kOther},  // a set command's tag, not a data line's
    };
    for (auto [work, kind] : replies) EXPECT_EQ(ReplyKindOf(work), kind) << work;
}

TEST(RepliesTest, EveryErrorReplyIsKnownByItsLine) {
    for (int i = 0; i <= static_cast<int>(ErrorReply::kCommandError); ++i) {
        const auto error = static_cast<ErrorReply>(i);
        EXPECT_EQ(ErrorReplyOf(ErrorReplyLine(error)), error) << i;
    }
    EXPECT_EQ(ErrorReplyLine(ErrorReply::kModeError), "GN\r\n");
    EXPECT_STREQ(ErrorReplyText(ErrorReply::kOverRunError), "Over Run Error");
    EXPECT_EQ(ErrorReplyOf("E3"), std::nullopt);
}

TEST(RepliesTest, DataLinesByTagWithOtpBeforeOt) {
    EXPECT_EQ(DataLineOf("OTP07\r\n"), DataLine::kCurMemory);
    EXPECT_EQ(DataLineOf("OTI01\r\n"), DataLine::kOutputs);
    EXPECT_EQ(DataLineOf("TP01\r\n"), DataLine::kMemoryPattern);
    EXPECT_EQ(DataLineOf("CA01\r\n"), DataLine::kTitle);
    EXPECT_EQ(DataLineOf("RCA01\r\n"), std::nullopt);
}

}  // namespace
