#include "dialog_kit/shift_jis_text.h"

#include <QList>

#include <optional>
#include <utility>

#include "model/cp932_text.h"

namespace {

// JIS-style characters Linux input methods type, folded to the form glibc's
// CP932 reads the Windows bytes back as (0x8160, 0x817C, 0x8161, ...).
char32_t Fold(char32_t ch) {
    static constexpr std::pair<char32_t, char32_t> kFolds[] = {
        {0x301C, 0xFF5E},  // WAVE DASH -> FULLWIDTH TILDE, 0x8160
        {0x2212, 0xFF0D},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS, 0x817C
        {0x2016, 0x2225},  // DOUBLE VERTICAL LINE -> PARALLEL TO, 0x8161
        {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR, 0x815C
        {0x00A2, 0xFFE0},  // CENT SIGN, 0x8191
        {0x00A3, 0xFFE1},  // POUND SIGN, 0x8192
        {0x00AC, 0xFFE2},  // NOT SIGN, 0x81CA
    };
    for (const auto& [from, to] : kFolds) {
        if (ch == from) return to;
    }
    return ch;
}

std::string Utf8Of(char32_t ch) {
    return QString::fromUcs4(&ch, 1).toStdString();
}

std::optional<char32_t> SingleCodePoint(const std::string& utf8) {
    const QList<uint> points = QString::fromStdString(utf8).toUcs4();
    if (points.size() != 1) return std::nullopt;
    return static_cast<char32_t>(points.front());
}

// The Shift_JIS form of one character, checked by reading it back: glibc's
// best-fit mappings (YEN SIGN to 0x5C, OVERLINE to 0x7E) do not count.
std::optional<std::string> Encode(CCodeConverter& toSjis, CCodeConverter& fromSjis, char32_t ch) {
    const char32_t folded = Fold(ch);
    std::optional<std::string> bytes = toSjis.Convert(Utf8Of(folded));
    if (!bytes || bytes->empty()) return std::nullopt;
    const std::optional<std::string> back = fromSjis.Convert(*bytes);
    if (!back) return std::nullopt;
    const std::optional<char32_t> readBack = SingleCodePoint(*back);
    if (!readBack || Fold(*readBack) != folded) return std::nullopt;
    return bytes;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    return QString::fromStdString(ShiftJisToUtf8(bytes));
}

std::string ToShiftJis(const QString& text) {
    CCodeConverter toSjis("CP932", "UTF-8");
    CCodeConverter fromSjis("UTF-8", "CP932");
    std::string bytes;
    for (uint ch : text.toUcs4()) {
        if (auto sjis = Encode(toSjis, fromSjis, static_cast<char32_t>(ch))) bytes += *sjis;
    }
    return bytes;
}

bool HasShiftJisForm(char32_t ch) {
    CCodeConverter toSjis("CP932", "UTF-8");
    CCodeConverter fromSjis("UTF-8", "CP932");
    return Encode(toSjis, fromSjis, ch).has_value();
}
