#include <cstdio>
#include <vector>

#include "editors/title_send.h"
#include "protocol/jis_ranges.h"
#include "protocol/shift_jis.h"
#include "protocol/title_codes.h"
#include "tests/editors/editors_fixture.h"

namespace {

std::vector<unsigned> ValidCodes() {
    std::vector<unsigned> codes;
    for (const CJisRange& range : JisRanges()) {
        for (unsigned code = range.first; code <= range.last; ++code) codes.push_back(code);
    }
    return codes;
}

using JisTitleTest = EditorsTest;

// Every valid code, sixteen to a title, goes from Shift_JIS back to its own code.
TEST_F(JisTitleTest, EveryValidCodeSurvivesTheTitlePath) {
    const auto codes = ValidCodes();
    for (size_t first = 0; first < codes.size(); first += kTitleChars) {
        std::string title;
        std::string hex;
        for (size_t j = 0; j < kTitleChars; ++j) {
            const bool bPadding = first + j >= codes.size();  // the last title has 15
            const unsigned code = bPadding ? kFullWidthSpaceJis : codes[first + j];
            const int sjis = JisToShiftJis(static_cast<int>(code));
            if (!bPadding) title += {static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)};
            char digits[8];
            std::snprintf(digits, sizeof digits, "%04X", code);
            hex += digits;
        }
        g_strTitle[7] = title;
        lines.clear();
        ASSERT_TRUE(TitleStep(7).Sent()) << std::hex << codes[first];
        ASSERT_EQ(lines, std::vector<std::string>{"CA08" + hex + "\r\n"});
    }
}

}  // namespace
