#include "dialog_kit/shift_jis_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

QString Char(char32_t ch) {
    return QString::fromUcs4(&ch, 1);
}

struct CVariant {
    char32_t typed;    // what a Linux input method gives
    char32_t windows;  // the fullwidth form Windows reads the bytes as
    const char* bytes;
};

// Both spellings of each character end up as the bytes Windows files hold,
// and those bytes read back as one character that gives the same bytes again.
TEST(ShiftJisTextTest, VariantCharactersMapToTheWindowsBytesBothWays) {
    const CVariant variants[] = {
        {0x301C, 0xFF5E, "\x81\x60"}, {0x2212, 0xFF0D, "\x81\x7C"}, {0x2016, 0x2225, "\x81\x61"},
        {0x2014, 0x2015, "\x81\x5C"}, {0x00A2, 0xFFE0, "\x81\x91"}, {0x00A3, 0xFFE1, "\x81\x92"},
        {0x00AC, 0xFFE2, "\x81\xCA"},
    };
    for (const CVariant& v : variants) {
        SCOPED_TRACE(testing::Message() << std::hex << static_cast<unsigned>(v.typed));
        EXPECT_EQ(ToShiftJis(Char(v.typed)), v.bytes);
        EXPECT_EQ(ToShiftJis(Char(v.windows)), v.bytes);
        EXPECT_TRUE(HasShiftJisForm(v.typed));
        const QString shown = FromShiftJis(v.bytes);
        EXPECT_EQ(shown, Char(v.windows));
        EXPECT_EQ(ToShiftJis(shown), v.bytes);
    }
}

TEST(ShiftJisTextTest, AsciiBackslashAndTildeStayAscii) {
    EXPECT_EQ(FromShiftJis("a\\b~"), "a\\b~");
    EXPECT_EQ(ToShiftJis("a\\b~"), "a\\b~");
}

TEST(ShiftJisTextTest, JapaneseTextRoundTrips) {
    const std::string bytes =
        "\x82\xA0\x8A\xBF\x83\x41"
        "AB\xB1";  // あ漢ア AB ｱ
    const QString text = QString::fromUtf8("あ漢アABｱ");
    EXPECT_EQ(FromShiftJis(bytes), text);
    EXPECT_EQ(ToShiftJis(text), bytes);
    // Vendor extensions have a form (the send refuses them later).
    EXPECT_EQ(ToShiftJis(QString::fromUtf8("①")), "\x87\x40");
}

// glibc turns YEN SIGN and OVERLINE into 0x5C and 0x7E, which read back as
// '\' and '~': those characters have no form of their own.
TEST(ShiftJisTextTest, CharactersWithoutAFormAreRefusedAndLeftOut) {
    for (char32_t ch : {char32_t{0x00A5}, char32_t{0x203E}, char32_t{0x00E9}, char32_t{0x1F600},
                        char32_t{0x4E02}}) {
        EXPECT_FALSE(HasShiftJisForm(ch)) << std::hex << static_cast<unsigned>(ch);
    }
    EXPECT_TRUE(HasShiftJisForm(U'あ'));
    EXPECT_EQ(ToShiftJis(QString::fromUtf8("a¥b😀c")), "abc");
}

TEST(ShiftJisTextTest, UnreadableBytesShowAsReplacementCharacters) {
    EXPECT_EQ(FromShiftJis("\x80"
                           "A"),
              QString::fromUtf8("\uFFFDA"));
    // A lead byte without its trail does not swallow the byte after it.
    EXPECT_EQ(FromShiftJis("\x81 x"), QString::fromUtf8("\uFFFD x"));
    EXPECT_EQ(FromShiftJis("\x82\xA0\x82"), QString::fromUtf8("あ\uFFFD"));
}

}  // namespace
