#include "editors/title_fold.h"

#include <cstdint>
#include <optional>

#include "model/cp932_text.h"
#include "protocol/table_shapes.h"
#include "protocol/title_codes.h"

namespace {

constexpr char32_t kIdeographicSpace = U'\u3000';
constexpr char32_t kHalfWidthVoiced = U'\uFF9E';
constexpr char32_t kHalfWidthSemiVoiced = U'\uFF9F';
constexpr char32_t kCombiningVoiced = U'\u3099';
constexpr char32_t kCombiningSemiVoiced = U'\u309A';

// The full-width forms of U+FF61 ｡ .. U+FF9F ﾟ, in order.
constexpr std::u32string_view kHalfWidthKana =
    U"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ"
    U"マミムメモヤユヨラリルレロワン゛゜";
static_assert(kHalfWidthKana.size() == 0xFF9F - 0xFF61 + 1);

// Kana whose voiced form follows it in Unicode (code + 1), and whose
// semi-voiced form follows that (code + 2).
constexpr std::u32string_view kVoiceable =
    U"カキクケコサシスセソタチツテトハヒフヘホかきくけこさしすせそたちつてとはひふへほ";
constexpr std::u32string_view kSemiVoiceable = U"ハヒフヘホはひふへほ";

// Glibc's CP932 puts the fullwidth forms of " and ' (U+FF02, U+FF07) in the
// IBM extension rows (0xFA57, 0xFA56), which a title cannot carry; the JIS
// quotes ” and ’ (row 1) stand in for them.
char32_t FullWidth(char32_t ch) {
    if (ch == U' ') return kIdeographicSpace;
    if (ch == U'"' || ch == U'\uFF02') return U'”';
    if (ch == U'\'' || ch == U'\uFF07') return U'’';
    if (ch >= U'!' && ch <= U'~') return ch - U'!' + U'\uFF01';
    if (ch >= U'\uFF61' && ch <= U'\uFF9F') return kHalfWidthKana[ch - U'\uFF61'];
    return ch;
}

// The kana with the mark joined to it, or 0 when JIS X 0208 has no such
// character (ヷ, ゔ): a half-width mark then stands by itself as ゛ or ゜, a
// combining one stays and is refused, as CP932 lacks it.
char32_t Voiced(char32_t kana, bool bSemi) {
    if (kana == U'ウ' && !bSemi) return U'ヴ';
    const std::u32string_view bases = bSemi ? kSemiVoiceable : kVoiceable;
    if (bases.find(kana) == std::u32string_view::npos) return 0;
    return kana + (bSemi ? 2 : 1);
}

std::u32string Fold(std::u32string_view text) {
    std::u32string folded;
    for (char32_t ch : text) {
        const bool bSemi = ch == kHalfWidthSemiVoiced || ch == kCombiningSemiVoiced;
        const bool bMark = bSemi || ch == kHalfWidthVoiced || ch == kCombiningVoiced;
        const char32_t voiced = bMark && !folded.empty() ? Voiced(folded.back(), bSemi) : 0;
        if (voiced != 0) {
            folded.back() = voiced;
        } else {
            folded += FullWidth(ch);
        }
    }
    while (!folded.empty() && folded.back() == kIdeographicSpace) folded.pop_back();
    return folded;
}

// The code points of utf8; nothing when it is not valid UTF-8.
std::optional<std::u32string> CodePoints(std::string_view utf8) {
    const std::optional<std::string> bytes = CCodeConverter("UTF-32LE", "UTF-8").Convert(utf8);
    if (!bytes) return std::nullopt;
    std::u32string text;
    for (std::size_t i = 0; i + 3 < bytes->size(); i += 4) {
        const auto byte = [&](std::size_t k) {
            return static_cast<char32_t>(static_cast<std::uint8_t>((*bytes)[i + k]));
        };
        text += byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
    }
    return text;
}

// The CP932 bytes of text; nothing when a character has no CP932 form.
std::optional<std::string> ShiftJis(std::u32string_view text) {
    std::string utf32;
    for (char32_t ch : text) {
        for (int shift = 0; shift < 32; shift += 8) utf32 += static_cast<char>(ch >> shift & 0xFF);
    }
    return CCodeConverter("CP932", "UTF-32LE").Convert(utf32);
}

// What TitleStep says to the title: PrepareTitle's length check and filling
// (the filling's 0x8140 pairs are the 2121 codes set beforehand), SendTitle's
// walk of the pairs and its check of the codes.
SendRefusal CheckTitle(std::string_view sjis) {
    JisCodes codes;
    codes.fill(kFullWidthSpaceJis);
    const bool bDoubleByte = sjis.size() <= 2 * codes.size() && sjis.size() % 2 == 0 &&
                             ShiftJisToJisCodes(sjis, codes) == sjis.size() / 2;
    if (!bDoubleByte) return SendRefusal::kNotJisLevel12;
    return CheckJisCodes(codes) == 0 ? SendRefusal::kNone : SendRefusal::kOutOfSpec;
}

}  // namespace

CTitleFold FoldTitle(std::string_view utf8) {
    const CTitleFold notJis{{}, SendRefusal::kNotJisLevel12};
    const std::optional<std::u32string> text = CodePoints(utf8);
    if (!text) return notJis;
    const std::u32string folded = Fold(*text);
    const int chars = static_cast<int>(folded.size());
    if (chars > kTitleChars) return {{}, SendRefusal::kNotJisLevel12, chars};
    std::optional<std::string> sjis = ShiftJis(folded);
    if (!sjis) return notJis;
    const SendRefusal refusal = CheckTitle(*sjis);
    if (refusal != SendRefusal::kNone) return {{}, refusal, chars};
    return {std::move(*sjis), SendRefusal::kNone, chars};
}
