#include "videohub/block_assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<CVideohubBlock> FeedAll(CBlockAssembler& assembler, std::string_view bytes) {
    std::vector<CVideohubBlock> blocks;
    EXPECT_EQ(assembler.Feed(bytes, blocks), CBlockAssembler::Fed::kOk);
    return blocks;
}

}  // namespace

TEST(BlockAssemblerTest, EveryLineEndAndEverySplitGiveTheSameBlocks) {
    const std::vector<CVideohubBlock> expected = {
        {"VIDEO OUTPUT ROUTING:", {"7 2", "0 5"}},
        {"PING:", {}},
    };
    for (std::string end : {"\n", "\r\n", "\r"}) {
        const std::string text =
            "VIDEO OUTPUT ROUTING:" + end + "7 2" + end + "0 5" + end + end + "PING:" + end + end;
        for (size_t split = 0; split <= text.size(); ++split) {
            CBlockAssembler assembler;
            auto blocks = FeedAll(assembler, std::string_view(text).substr(0, split));
            for (auto& block : FeedAll(assembler, std::string_view(text).substr(split))) {
                blocks.push_back(block);
            }
            EXPECT_EQ(blocks, expected) << "line end " << end.size() << ", split at " << split;
        }
    }
}

TEST(BlockAssemblerTest, BlankLinesBetweenBlocksAndAnUnfinishedBlockGiveNothingMore) {
    CBlockAssembler assembler;
    auto blocks = FeedAll(assembler, "\n\n\nPING:\n\n\n\nINPUT LABELS:\n0 a\n");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].strHeader, "PING:");
    EXPECT_TRUE(FeedAll(assembler, "1 b\n").empty());  // half a block waits
    blocks = FeedAll(assembler, "\n");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].lines, (std::vector<std::string>{"0 a", "1 b"}));
}

TEST(BlockAssemblerTest, ALineOrABlockPastItsBoundIsRefused) {
    std::vector<CVideohubBlock> blocks;
    CBlockAssembler longLine;
    EXPECT_EQ(longLine.Feed(std::string(kMaxVideohubLine, 'x'), blocks), CBlockAssembler::Fed::kOk);
    EXPECT_EQ(longLine.Feed("y", blocks), CBlockAssembler::Fed::kOverflow);

    CBlockAssembler longBlock;
    std::string text = "INPUT LABELS:\n";
    for (size_t i = 0; i < kMaxVideohubBlockLines; ++i) text += "0 a\n";
    EXPECT_EQ(longBlock.Feed(text, blocks), CBlockAssembler::Fed::kOk);
    EXPECT_EQ(longBlock.Feed("0 a\n", blocks), CBlockAssembler::Fed::kOverflow);
    EXPECT_TRUE(blocks.empty());
}
