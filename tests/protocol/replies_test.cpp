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

// What a reply was, named in full: which error reply, which data line.
TEST(RepliesTest, AReplyReadsAsItsKindAndWhichOfThatKind) {
    const std::pair<const char*, CReply> replies[] = {
        {"GO\r\n", {ReplyKind::kGo, std::nullopt, std::nullopt}},
        {"GN\r\n", {ReplyKind::kError, ErrorReply::kModeError, std::nullopt}},
        {"MENU\r\n", {ReplyKind::kError, ErrorReply::kMenuDisplay, std::nullopt}},
        {"E0\r\n", {ReplyKind::kError, ErrorReply::kFramingError, std::nullopt}},
        {"E1\r\n", {ReplyKind::kError, ErrorReply::kParityError, std::nullopt}},
        {"E2\r\n", {ReplyKind::kError, ErrorReply::kOverRunError, std::nullopt}},
        {"E3\r\n", {ReplyKind::kError, ErrorReply::kCommandError, std::nullopt}},
        {"OTP07\r\n", {ReplyKind::kData, std::nullopt, DataLine::kCurMemory}},
        {"OTI01\r\n", {ReplyKind::kData, std::nullopt, DataLine::kOutputs}},
        {"TSDY\r\n", {ReplyKind::kData, std::nullopt, DataLine::kDateFormat}},
        {"AST01\r\n", {ReplyKind::kData, std::nullopt, DataLine::kSeqPattern}},
        {"GO", {}},
        {"E3 \r\n", {}},
        {"TSA\r\n", {}},
    };
    for (const auto& [work, reply] : replies) {
        EXPECT_TRUE(ReadReply(work) == reply) << work;
        EXPECT_EQ(ReplyKindOf(work), reply.kind) << work;
    }
}

}  // namespace
