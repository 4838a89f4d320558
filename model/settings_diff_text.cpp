#include "model/settings_diff_text.h"

#include <iconv.h>

#include <algorithm>

#include "protocol/fields.h"
#include "protocol/shift_jis.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

const char* const kDateFormats[] = {"年.月.日", "月-日-年", "日/月/年"};

std::string FlagText(SettingsTable table, int value) {
    if (table == SettingsTable::kTitlePosition) return value == 0 ? "Top" : "Bottom";
    return value == 0 ? "OFF" : "ON";
}

std::string NumberText(const CSettingsDifference& diff, int value, int nInputs) {
    switch (diff.table) {
        case SettingsTable::kSeqTime:
            return value == 0 ? "SKIP" : std::to_string(value) + " s";
        case SettingsTable::kMemory:
            return SourceCodeText(value, nInputs);
        case SettingsTable::kDateFormat:
            return value >= 0 && value <= 2 ? kDateFormats[value] : std::to_string(value);
        default:
            return FlagText(diff.table, value);
    }
}

// One conversion descriptor for the length of a call.
class CFromCp932 {
public:
    CFromCp932() : m_cd(iconv_open("UTF-8", "CP932")) {}
    ~CFromCp932() {
        if (Ok()) iconv_close(m_cd);
    }
    CFromCp932(const CFromCp932&) = delete;
    CFromCp932& operator=(const CFromCp932&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // One character's bytes as UTF-8; empty when they are none.
    std::string Convert(std::string_view in) {
        if (!Ok()) return {};
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char out[16];
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out;
        size_t dstLeft = sizeof out;
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return {};
        return std::string(out, sizeof out - dstLeft);
    }

private:
    iconv_t m_cd;
};

}  // namespace

std::string DifferenceValueText(const CSettingsDifference& diff, DiffSide side, int nInputs) {
    const bool bFile = side == DiffSide::kFile;
    if (diff.table == SettingsTable::kTitle) {
        const std::string& title = bFile ? diff.strFile : diff.strSwitcher;
        return title.empty() ? "(none)" : ShiftJisToUtf8(title);
    }
    return NumberText(diff, bFile ? diff.nFile : diff.nSwitcher, nInputs);
}

std::string ShiftJisToUtf8(std::string_view bytes) {
    CFromCp932 converter;
    std::string text;
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t length = IsShiftJisLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        const size_t n = std::min(length, bytes.size() - i);
        std::string utf8 = converter.Convert(bytes.substr(i, n));
        if (!utf8.empty()) {
            text += utf8;
            i += n;
        } else {
            text += kReplacement;
            ++i;  // a bad lead byte must not swallow the byte after it
        }
    }
    return text;
}
