#include "protocol/title_codes.h"

#include <algorithm>

#include "protocol/jis_ranges.h"
#include "protocol/shift_jis.h"

int CheckJisCodes(const JisCodes& codes) {
    const bool bValid = std::all_of(codes.begin(), codes.end(),
                                    [](unsigned code) { return CheckJisCode(code) == 0; });
    return bValid ? 0 : 2;
}

std::size_t ShiftJisToJisCodes(std::string_view sjis, JisCodes& codes) {
    std::size_t k = 0;
    for (; k < codes.size() && 2 * k + 1 < sjis.size(); ++k) {
        const int lead = static_cast<unsigned char>(sjis[2 * k]);
        const int trail = static_cast<unsigned char>(sjis[2 * k + 1]);
        const int jis = ShiftJisToJis(lead << 8 | trail);
        if (jis == 0) break;
        codes[k] = static_cast<unsigned>(jis);
    }
    return k;
}

JisCodes TitleCodes(std::string_view title) {
    JisCodes codes;
    codes.fill(kFullWidthSpaceJis);
    ShiftJisToJisCodes(title, codes);
    return codes;
}

std::string TitleText(const JisCodes& codes) {
    std::size_t used = codes.size();
    while (used > 0 && codes[used - 1] == kFullWidthSpaceJis) --used;
    std::string title;
    for (std::size_t k = 0; k < used; ++k) {
        const int sjis = JisToShiftJis(static_cast<int>(codes[k]));
        if (sjis == 0) break;
        title += static_cast<char>(sjis >> 8);
        title += static_cast<char>(sjis & 0xFF);
    }
    return title;
}
