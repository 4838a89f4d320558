#include "sim/title_codes.h"

#include "link/field_codes.h"
#include "link/jis_code.h"

std::optional<JisCodes> ParseTitleCodes(std::string_view hex) {
    if (hex.size() != 4 * kTitleChars) return std::nullopt;
    JisCodes codes{};
    for (size_t k = 0; k < codes.size(); ++k) {
        int high = HexByteValue(hex[4 * k], hex[4 * k + 1]);
        int low = HexByteValue(hex[4 * k + 2], hex[4 * k + 3]);
        if (high < 0 || low < 0) return std::nullopt;
        codes[k] = static_cast<unsigned>(high * 256 + low);
        if (CheckJisCode(codes[k]) != 0) return std::nullopt;
    }
    return codes;
}

std::string TitleText(const JisCodes& codes) {
    size_t used = codes.size();
    while (used > 0 && codes[used - 1] == kFullWidthSpaceJis) --used;
    std::string title;
    for (size_t k = 0; k < used; ++k) {
        int sjis = JisToShiftJis(static_cast<int>(codes[k]));
        if (sjis == 0) break;
        title += static_cast<char>(sjis >> 8);
        title += static_cast<char>(sjis & 0xFF);
    }
    return title;
}

JisCodes TitleCodes(const std::string& title) {
    JisCodes codes;
    codes.fill(kFullWidthSpaceJis);
    for (size_t k = 0; k < codes.size() && 2 * k + 1 < title.size(); ++k) {
        int lead = static_cast<unsigned char>(title[2 * k]);
        int trail = static_cast<unsigned char>(title[2 * k + 1]);
        int jis = ShiftJisToJis(lead * 256 + trail);
        if (jis == 0) break;
        codes[k] = static_cast<unsigned>(jis);
    }
    return codes;
}
