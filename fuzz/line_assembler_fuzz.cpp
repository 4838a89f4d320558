// The receive line assembler: any bytes in any chunks. The lines out are
// exactly the input split after each LF, a line longer than the limit dropped
// whole, and what is pending is the unfinished rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "protocol/line_assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    // The chunk sizes first, so that the bytes themselves stay free.
    std::vector<size_t> chunks(provider.ConsumeIntegralInRange<size_t>(0, 16));
    for (auto& chunk : chunks) chunk = provider.ConsumeIntegralInRange<size_t>(0, 512);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    std::vector<std::string> expected;
    std::string rest;
    for (char c : bytes) {
        rest += c;
        if (c != '\n') continue;
        if (rest.size() <= CLineAssembler::kMaxLine) expected.push_back(rest);
        rest.clear();
    }

    CLineAssembler assembler;
    std::vector<std::string> lines;
    auto collect = [&](std::string line) { lines.push_back(std::move(line)); };
    size_t at = 0;
    for (size_t chunk : chunks) {
        const size_t n = std::min(chunk, bytes.size() - at);
        assembler.Feed(std::string_view(bytes).substr(at, n), collect);
        at += n;
    }
    assembler.Feed(std::string_view(bytes).substr(at), collect);

    FUZZ_CHECK(lines == expected);
    FUZZ_CHECK(assembler.Pending() == (rest.size() < CLineAssembler::kMaxLine ? rest.size() : 0));
    return 0;
}
