#include "protocol/visible_text.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(VisibleTextTest, LineEndsAreSpeltOutAndOtherControlsBecomeHex) {
    EXPECT_EQ(VisibleText("GO\r\n"), "GO<CR><LF>");
    EXPECT_EQ(VisibleText("G\0O"s), R"(G\x00O)");
    EXPECT_EQ(VisibleText("\x1b]0;owned\x07"), R"(\x1b]0;owned\x07)");
    EXPECT_EQ(VisibleText("\x1b[2J\t\x7f"), R"(\x1b[2J\x09\x7f)");
    EXPECT_EQ(VisibleText(std::string(1, '\x1f')), R"(\x1f)");
}

TEST(VisibleTextTest, PrintableAsciiAndUtf8TextPassAndABackslashStaysDistinct) {
    EXPECT_EQ(VisibleText(" AST01~"), " AST01~");
    EXPECT_EQ(VisibleText("/home/操作/Qelvar.ini — ok"), "/home/操作/Qelvar.ini — ok");
    EXPECT_EQ(VisibleText("\xf0\x9f\x98\x80"), "\xf0\x9f\x98\x80");  // four bytes, U+1F600
    EXPECT_EQ(VisibleText(R"(C:\x1b)"), R"(C:\\x1b)");               // not to be read as an escape
    EXPECT_EQ(VisibleText(""), "");
}

TEST(VisibleTextTest, BytesThatAreNoValidCharacterAndC1ControlsBecomeHex) {
    // 8-bit C1 controls: CSI and OSC as a terminal in an 8-bit locale takes them.
    EXPECT_EQ(VisibleText("\x9b"
                          "2J\x9d"
                          "0;x"),
              R"(\x9b2J\x9d0;x)");
    // The same controls encoded in UTF-8, which some terminals obey too.
    EXPECT_EQ(VisibleText("\xc2\x9b"
                          "2J"),
              R"(\xc2\x9b2J)");
    EXPECT_EQ(VisibleText("\xc2\xa0"), "\xc2\xa0");  // U+00A0 is text
    // Shift_JIS あい: its lead bytes lie in the C1 range.
    EXPECT_EQ(VisibleText("\x82\xa0\x82\xa2"), R"(\x82\xa0\x82\xa2)");
    EXPECT_EQ(VisibleText("\xc0\xaf"), R"(\xc0\xaf)");                  // overlong '/'
    EXPECT_EQ(VisibleText("\xe0\x80\xaf"), R"(\xe0\x80\xaf)");          // overlong, three bytes
    EXPECT_EQ(VisibleText("\xed\xa0\x80"), R"(\xed\xa0\x80)");          // a surrogate
    EXPECT_EQ(VisibleText("\xf4\x90\x80\x80"), R"(\xf4\x90\x80\x80)");  // past U+10FFFF
    EXPECT_EQ(VisibleText("\xff\xfe"), R"(\xff\xfe)");
    // A character cut short: its lead byte is hex, what follows is looked at afresh.
    EXPECT_EQ(VisibleText("\xe6\x93"
                          "A"),
              R"(\xe6\x93A)");
    EXPECT_EQ(VisibleText("\xe6\x93\r\n"), R"(\xe6\x93<CR><LF>)");
    EXPECT_EQ(VisibleText("\xe6\x93"), R"(\xe6\x93)");
}

TEST(VisibleTextTest, NoByteOfTheResultIsAControl) {
    std::string every;
    for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
    const std::string shown = VisibleText(every + every);
    for (size_t i = 0; i < shown.size(); ++i) {
        const auto byte = static_cast<unsigned char>(shown[i]);
        EXPECT_FALSE(byte < 0x20 || byte == 0x7F) << "at " << i;
        // No lone byte above 0x7F survives: the input holds no valid sequence.
        EXPECT_LT(byte, 0x80) << "at " << i;
    }
}

}  // namespace
