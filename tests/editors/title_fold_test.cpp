// Titles typed outside the program: what they fold to, and that the title
// editor's own send takes or refuses the result alike.
#include "editors/title_fold.h"

#include <optional>
#include <vector>

#include "editors/title_send.h"
#include "model/cp932_text.h"
#include "tests/editors/editors_fixture.h"

namespace {

constexpr int kChannel = 3;

std::string Utf8Of(char32_t ch) {
    std::string utf32;
    for (int shift = 0; shift < 32; shift += 8) utf32 += static_cast<char>(ch >> shift & 0xFF);
    return CCodeConverter("UTF-8", "UTF-32LE").Convert(utf32).value_or("?");
}

std::string ShiftJisOf(std::string_view utf8) {
    return CCodeConverter("CP932", "UTF-8").Convert(utf8).value_or("?");
}

class TitleFoldTest : public EditorsTest {
protected:
    // What the title editor's send says to sjis as a stored title; the one CA
    // line it sends when it takes it.
    SendRefusal Editor(const std::string& sjis) {
        g_strTitle[kChannel] = sjis;
        lines.clear();
        const CStepResult result = TitleStep(kChannel);
        const bool bOneLine =
            lines.size() == 1 && lines[0].size() == 70 && lines[0].starts_with("CA04");
        EXPECT_EQ(bOneLine, result.Sent());
        EXPECT_EQ(lines.size(), result.Sent() ? 1u : 0u);
        return result.refusal;
    }
};

struct Folded {
    const char* what;
    std::string text;
    std::string title;  // UTF-8 of the Shift_JIS expected, and the label it reads back as
};

TEST_F(TitleFoldTest, FoldsToTheCharactersTheEditorSends) {
    const Folded cases[] = {
        {"Japanese unchanged", "第１カメラ　舞台ｰ", "第１カメラ　舞台ー"},
        {"ASCII", "CAM 1", "ＣＡＭ　１"},
        {"symbols", "\\~-`^|$", "＼～－｀＾｜＄"},
        {"quotes, half- and full-width", "\"'＂＇", "”’”’"},
        {"half-width katakana", "｢ｿﾆｰ ｶﾒﾗ｣｡､･", "「ソニー　カメラ」。、・"},
        {"voiced marks joined", "ｶﾞﾊﾞﾊﾟｳﾞﾄﾞﾎﾟ", "ガバパヴドポ"},
        {"marks with nothing to join", "ﾞｱﾞﾜﾞｶﾞﾞﾊﾞﾟ", "゛ア゛ワ゛ガ゛バ゜"},
        {"marks after full-width kana joined", "カ\u3099は\u309Aウ\u3099キﾞ", "ガぱヴギ"},
        {"JIS-style characters", "〜−‖—", "～－∥―"},
        {"trailing spaces dropped, leading kept", " A 　 ", "　Ａ"},
        {"only spaces", "   ", ""},
        {"empty", "", ""},
        {"16 characters", "ABCDEFGHIJKLMNOP", "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰ"},
        {"16 and trailing spaces", "漢字漢字漢字漢字漢字漢字漢字漢字  ",
         "漢字漢字漢字漢字漢字漢字漢字漢字"},
    };
    for (const Folded& c : cases) {
        SCOPED_TRACE(c.what);
        const CTitleFold fold = FoldTitle(c.text);
        EXPECT_TRUE(fold.Accepted());
        EXPECT_EQ(fold.Warning(), nullptr);
        EXPECT_EQ(fold.title, ShiftJisOf(c.title));
        EXPECT_EQ(ShiftJisToUtf8(fold.title), c.title);
        EXPECT_EQ(Editor(fold.title), SendRefusal::kNone);
    }
    EXPECT_EQ(Editor(FoldTitle("CAM 1 ").title), SendRefusal::kNone);
    EXPECT_EQ(lines,
              std::vector<std::string>{"CA0423432341234D21212331" + Repeat("2121", 11) + "\r\n"});
}

struct Refused {
    const char* what;
    std::string text;
    SendRefusal refusal;
    std::optional<std::string> sjis;  // the CP932 bytes of the text, where it has them
};

TEST_F(TitleFoldTest, RefusesWhatTheEditorRefuses) {
    const SendRefusal kNotJis = SendRefusal::kNotJisLevel12;
    const Refused cases[] = {
        {"17 characters", "ABCDEFGHIJKLMNOPQ", kNotJis, std::nullopt},
        {"17 kanji", Repeat("漢", 17), kNotJis, ShiftJisOf(Repeat("漢", 17))},
        {"circled digit", "第①", SendRefusal::kOutOfSpec, "\x91\xE6\x87\x40"},
        {"NEC row 13", "Ⅰ㍉", SendRefusal::kOutOfSpec, "\x87\x54\x87\x5F"},
        {"IBM extension kanji", "髙橋", kNotJis, "\xFB\xFC\x8B\xB4"},
        {"user-defined area", "\uE000", kNotJis, "\xF0\x40"},
        {"yen sign, single-byte in CP932", "¥1", kNotJis, "\x5C\x82\x50"},
        {"control character", "A\tB", kNotJis, "\x82\x60\x09\x82\x61"},
        {"emoji", "CAM😀", kNotJis, std::nullopt},
        {"character CP932 lacks", "ヷ", kNotJis, std::nullopt},
        {"combining mark after no kana", "A\u3099", kNotJis, std::nullopt},
        {"overlong UTF-8", "\xC0\x80", kNotJis, std::nullopt},
        {"UTF-8 surrogate", "\xED\xA0\x80", kNotJis, std::nullopt},
        {"cut-off UTF-8", "あ\xE3\x81", kNotJis, std::nullopt},
        {"stray continuation byte", "\x80", kNotJis, std::nullopt},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        const CTitleFold fold = FoldTitle(c.text);
        EXPECT_EQ(fold.refusal, c.refusal);
        EXPECT_TRUE(fold.title.empty());
        if (c.sjis) {
            EXPECT_EQ(Editor(*c.sjis), c.refusal);
        }
    }
    EXPECT_STREQ(FoldTitle("①").Warning(), "仕様以外の字が選択されてます");
    EXPECT_STREQ(FoldTitle("😀").Warning(), "ＪＩＳ第１水準,第２水準以外の字が選択されてます");
}

TEST_F(TitleFoldTest, EveryHalfWidthCharacterFoldsToOneThatIsSent) {
    std::vector<char32_t> halfWidth;
    for (char32_t ch = U'!'; ch <= U'~'; ++ch) halfWidth.push_back(ch);
    for (char32_t ch = U'\uFF61'; ch <= U'\uFF9F'; ++ch) halfWidth.push_back(ch);
    for (char32_t ch : halfWidth) {
        SCOPED_TRACE(static_cast<unsigned>(ch));
        const CTitleFold fold = FoldTitle(Utf8Of(ch));
        EXPECT_EQ(fold.title.size(), 2u);
        EXPECT_EQ(Editor(fold.title), SendRefusal::kNone);
    }
}

// Every other character passes unchanged: the fold must take it exactly when
// the editor takes its CP932 bytes, and refuse it as the editor does.
TEST_F(TitleFoldTest, AgreesWithTheEditorOnEveryCharacter) {
    CCodeConverter toSjis("CP932", "UTF-8");
    std::vector<unsigned> disagreements;
    int nAccepted = 0, nOutOfSpec = 0;
    for (char32_t ch = 0x80; ch <= 0xFFFF; ++ch) {
        const bool bFolded = ch == 0x3000 || ch == 0xFF02 || ch == 0xFF07 ||
                             (ch >= 0xD800 && ch <= 0xDFFF) || (ch >= 0xFF61 && ch <= 0xFF9F);
        if (bFolded) continue;
        const std::string text = Utf8Of(ch);
        const std::optional<std::string> sjis = toSjis.Convert(text);
        const SendRefusal editor = sjis ? Editor(*sjis) : SendRefusal::kNotJisLevel12;
        const CTitleFold fold = FoldTitle(text);
        if (fold.refusal != editor || (fold.Accepted() && fold.title != *sjis)) {
            disagreements.push_back(static_cast<unsigned>(ch));
        }
        nAccepted += fold.Accepted();
        nOutOfSpec += fold.refusal == SendRefusal::kOutOfSpec;
    }
    EXPECT_TRUE(disagreements.empty()) << disagreements.size() << ", first U+" << std::hex
                                       << (disagreements.empty() ? 0 : disagreements[0]);
    EXPECT_GE(nAccepted, 6878);  // JIS X 0208 less the ideographic space, and the JIS-style forms
    EXPECT_GT(nOutOfSpec, 0);
}

}  // namespace
