#include "app/shift_jis_text.h"

#include <iconv.h>

#include <QList>

#include <cerrno>
#include <optional>
#include <utility>

#include "protocol/shift_jis.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

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

// One conversion descriptor for the length of a call.
class CConverter {
public:
    CConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CConverter() {
        if (Ok()) iconv_close(m_cd);
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole of in, or nothing.
    std::optional<std::string> Convert(std::string_view in) {
        if (!Ok()) return std::nullopt;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
        std::string out(in.size() * 4 + 8, '\0');
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - dstLeft);
        return out;
    }

private:
    iconv_t m_cd;
};

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
std::optional<std::string> Encode(CConverter& toSjis, CConverter& fromSjis, char32_t ch) {
    const char32_t folded = Fold(ch);
    std::optional<std::string> bytes = toSjis.Convert(Utf8Of(folded));
    if (!bytes || bytes->empty()) return std::nullopt;
    const std::optional<std::string> back = fromSjis.Convert(*bytes);
    if (!back) return std::nullopt;
    const std::optional<char32_t> readBack = SingleCodePoint(*back);
    if (!readBack || Fold(*readBack) != folded) return std::nullopt;
    return bytes;
}

// Length of the Shift_JIS character starting with lead.
std::size_t CharLength(unsigned char lead) {
    return IsShiftJisLeadByte(lead) ? 2 : 1;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    CConverter fromSjis("UTF-8", "CP932");
    QString text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n =
            std::min(CharLength(static_cast<unsigned char>(bytes[i])), bytes.size() - i);
        const std::optional<std::string> utf8 = fromSjis.Convert(bytes.substr(i, n));
        if (utf8 && !utf8->empty()) {
            text += QString::fromStdString(*utf8);
            i += n;
        } else {
            text += QChar(static_cast<char16_t>(kReplacement));
            ++i;  // a bad lead byte must not swallow the byte after it
        }
    }
    return text;
}

std::string ToShiftJis(const QString& text) {
    CConverter toSjis("CP932", "UTF-8");
    CConverter fromSjis("UTF-8", "CP932");
    std::string bytes;
    for (uint ch : text.toUcs4()) {
        if (auto sjis = Encode(toSjis, fromSjis, static_cast<char32_t>(ch))) bytes += *sjis;
    }
    return bytes;
}

bool HasShiftJisForm(char32_t ch) {
    CConverter toSjis("CP932", "UTF-8");
    CConverter fromSjis("UTF-8", "CP932");
    return Encode(toSjis, fromSjis, ch).has_value();
}
