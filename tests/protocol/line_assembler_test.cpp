#include "protocol/line_assembler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class LineAssemblerTest : public ::testing::Test {
protected:
    void Feed(std::string_view bytes) {
        assembler.Feed(bytes, [this](std::string line) { lines.push_back(std::move(line)); });
    }
    CLineAssembler assembler;
    std::vector<std::string> lines;
};

TEST_F(LineAssemblerTest, ALineInPiecesIsHandedOverOnceAfterItsLf) {
    Feed("G");
    Feed("O\r");
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(assembler.Pending(), 3u);
    Feed("\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"GO\r\n"}));
    EXPECT_EQ(assembler.Pending(), 0u);
}

TEST_F(LineAssemblerTest, TwoRepliesInOneChunkAreTwoLines) {
    Feed("GO\r\nE3\r\nAS");
    EXPECT_EQ(lines, (std::vector<std::string>{"GO\r\n", "E3\r\n"}));
    EXPECT_EQ(assembler.Pending(), 2u);
}

TEST_F(LineAssemblerTest, CrIsAnOrdinaryByte) {
    Feed("A\rB\r\r\n\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"A\rB\r\r\n", "\n"}));
}

TEST_F(LineAssemblerTest, AnOverlongLineIsDroppedWholeUpToItsLf) {
    std::string longest(CLineAssembler::kMaxLine - 2, 'x');  // 397 + CR LF = 399 bytes
    Feed(longest + "\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 399u);

    lines.clear();
    Feed(std::string(398, 'y'));
    Feed("yy");  // 400 bytes and still no LF
    Feed(std::string(1000, 'z') + "\r\nGO\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"GO\r\n"}));

    lines.clear();
    Feed(std::string(398, 'w') + "\r\nE3\r\n");  // 400 bytes with its LF: too long
    EXPECT_EQ(lines, (std::vector<std::string>{"E3\r\n"}));
}

TEST_F(LineAssemblerTest, ResetForgetsAPartialLine) {
    Feed("GARBAGE");
    assembler.Reset();
    Feed("GO\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"GO\r\n"}));
}

}  // namespace
