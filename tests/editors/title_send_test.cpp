#include "editors/title_send.h"

#include "protocol/shift_jis.h"
#include "tests/editors/editors_fixture.h"

namespace {

const std::string kA = "\x82\xA0";  // あ, JIS 2422

// Shift_JIS text of JIS codes first, first + 1, ...
std::string ShiftJisRun(int first, int count) {
    std::string text;
    for (int code = first; code < first + count; ++code) {
        const int sjis = JisToShiftJis(code);
        text += static_cast<char>(sjis >> 8);
        text += static_cast<char>(sjis & 0xFF);
    }
    return text;
}

using TitleWireTest = WireTest;
QELVAR_WIRE_SUITE(TitleWireTest);

TEST_P(TitleWireTest, ChannelNumberAndFilling) {
    g_strTitle[0] = kA;
    g_strTitle[8] = "";
    g_strTitle[9] = " ";
    g_strTitle[63] = ShiftJisRun(0x3021, 16);
    for (int channel : {0, 8, 9, 63}) EXPECT_TRUE(TitleStep(channel).Sent()) << channel;
    EXPECT_EQ(g_strTitleWork, g_strTitle[63]);  // 32 bytes need no filling
    EXPECT_EQ(g_strTitle[9], " ");
    const std::string blank = Repeat("2121", 16);
    EXPECT_EQ(lines,
              FramedLines({"CA012422" + Repeat("2121", 15) + "\r\n", "CA09" + blank + "\r\n",
                           "CA10" + blank + "\r\n",
                           "CA64302130223023302430253026302730283029302A302B302C302D302E302F3030"
                           "\r\n"}));
}

using TitleTest = EditorsTest;

struct RefusedTitle {
    const char* what;
    std::string title;
    bool bPrepared;
    int nSendResult;  // when prepared
    const char* warning;
};

TEST_F(TitleTest, RefusedTitlesSendNothing) {
    const std::string sixteen = Repeat(kA, 16);
    const RefusedTitle cases[] = {
        {"odd length", kA + "A", false, 0, kNotJisLevel12Warning},
        {"33 bytes", sixteen + "A", false, 0, kNotJisLevel12Warning},
        {"34 bytes", sixteen + kA, false, 0, kNotJisLevel12Warning},
        {"half-width pair", "AB", true, 1, kNotJisLevel12Warning},
        {"user-defined area", "\xF0\x40", true, 1, kNotJisLevel12Warning},
        {"circled digit", kA + "\x87\x40", true, 2, kOutOfSpecWarning},
        {"extension kanji", "\xED\x40", true, 2, kOutOfSpecWarning},
    };
    for (const RefusedTitle& c : cases) {
        SCOPED_TRACE(c.what);
        g_strTitle[5] = c.title;
        EXPECT_EQ(PrepareTitle(5), c.bPrepared);
        if (c.bPrepared) {
            EXPECT_EQ(SendTitle(5), c.nSendResult);
        } else {
            EXPECT_EQ(g_strTitleWork, c.title);  // left unfilled
        }
        EXPECT_STREQ(TitleStep(5).pszWarning, c.warning);
        EXPECT_EQ(g_strTitle[5], c.title);
    }
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(sink.boxes.empty());  // the caller shows the warning
}

TEST_F(TitleTest, AWorkCopyThatWasNeverFilledIsNotSent) {
    g_strTitleWork = kA;
    EXPECT_EQ(SendTitle(0), 1);
    g_strTitle[0] = kA + "A";
    EXPECT_FALSE(PrepareTitle(0));
    EXPECT_EQ(SendTitle(0), 1);
    EXPECT_FALSE(PrepareTitle(64));
    EXPECT_EQ(SendTitle(64), 1);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
