// A Videohub client's bytes in any chunks: the blocks are the same however the
// bytes are split, no line holds a line end, the bounds hold, and every body
// that reads as labels, routes or locks reads back the same once written out.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "videohub/block_assembler.h"
#include "videohub/request_lines.h"
#include "videohub/status_blocks.h"

namespace {

constexpr int kOutputsFuzz = 32;
constexpr int kInputsFuzz = 128;

CBlockAssembler::Fed FeedChunks(std::string_view bytes, const std::vector<size_t>& chunks,
                                std::vector<CVideohubBlock>& out) {
    CBlockAssembler assembler;
    size_t at = 0;
    for (size_t chunk : chunks) {
        const size_t n = std::min(chunk, bytes.size() - at);
        if (assembler.Feed(bytes.substr(at, n), out) == CBlockAssembler::Fed::kOverflow) {
            return CBlockAssembler::Fed::kOverflow;
        }
        at += n;
    }
    return assembler.Feed(bytes.substr(at), out);
}

void CheckRequestLines(const CVideohubBlock& block) {
    if (auto routes = ParseRouteLines(block.lines, kOutputsFuzz, kInputsFuzz)) {
        for (const auto& route : *routes) {
            FUZZ_CHECK(route.nOutput >= 0 && route.nOutput < kOutputsFuzz);
            FUZZ_CHECK(route.nInput >= 0 && route.nInput < kInputsFuzz);
        }
    }
    ParseLockLines(block.lines, kOutputsFuzz);
    auto labels = ParseLabelLines(block.lines, kInputsFuzz);
    if (!labels) return;
    std::vector<NumberedItem> items;
    for (const auto& label : *labels) items.emplace_back(label.nPort, label.text);
    std::vector<CVideohubBlock> again;
    CBlockAssembler assembler;
    FUZZ_CHECK(assembler.Feed(FormatNumbered("INPUT LABELS:", items), again) ==
               CBlockAssembler::Fed::kOk);
    FUZZ_CHECK(again.size() == 1);
    auto reread = ParseLabelLines(again[0].lines, kInputsFuzz);
    FUZZ_CHECK(reread && reread->size() == labels->size());
    for (size_t i = 0; i < labels->size(); ++i) {
        FUZZ_CHECK((*reread)[i].nPort == (*labels)[i].nPort);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    std::vector<size_t> chunks(provider.ConsumeIntegralInRange<size_t>(0, 16));
    for (auto& chunk : chunks) chunk = provider.ConsumeIntegralInRange<size_t>(0, 512);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    std::vector<CVideohubBlock> whole, split;
    const auto fedWhole = FeedChunks(bytes, {}, whole);
    const auto fedSplit = FeedChunks(bytes, chunks, split);
    FUZZ_CHECK(fedWhole == fedSplit);
    if (fedWhole == CBlockAssembler::Fed::kOk) FUZZ_CHECK(whole == split);
    for (const CVideohubBlock& block : whole) {
        FUZZ_CHECK(!block.strHeader.empty());
        FUZZ_CHECK(block.lines.size() <= kMaxVideohubBlockLines);
        for (const std::string& line : block.lines) {
            FUZZ_CHECK(!line.empty() && line.size() <= kMaxVideohubLine);
            FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        }
        CheckRequestLines(block);
    }
    return 0;
}
