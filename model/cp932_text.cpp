#include "model/cp932_text.h"

#include <algorithm>

#include "protocol/shift_jis.h"

CCodeConverter::~CCodeConverter() {
    if (Ok()) iconv_close(m_cd);
}

std::optional<std::string> CCodeConverter::Convert(std::string_view in) {
    if (!Ok()) return std::nullopt;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

std::string ShiftJisToUtf8(std::string_view bytes) {
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
    CCodeConverter fromSjis("UTF-8", "CP932");
    std::string text;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t length = IsShiftJisLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        const size_t n = std::min(length, bytes.size() - i);
        const std::optional<std::string> utf8 = fromSjis.Convert(bytes.substr(i, n));
        if (utf8 && !utf8->empty()) {
            text += *utf8;
            i += n;
        } else {
            text += kReplacement;
            ++i;  // a bad lead byte must not swallow the byte after it
        }
    }
    return text;
}
