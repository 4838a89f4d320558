#include "editors/title_send.h"

#include <algorithm>

#include "editors/jis_ranges.h"
#include "editors/two_digits.h"
#include "link/jis_code.h"
#include "link/transmitter.h"
#include "model/settings_model.h"

std::string g_strTitleWork;

namespace {

constexpr std::size_t kTitleBytes = 2 * kTitleChars;
constexpr char kFullWidthSpace[] = "\x81\x40";

bool IsChannel(int nChannel) {
    return nChannel >= 0 && nChannel < kMaxInputs;
}

unsigned ByteAt(std::size_t offset) {
    return static_cast<unsigned char>(g_strTitleWork[offset]);
}

// The work copy as 16 JIS codes; false at the first pair that is not a
// Shift_JIS double-byte character, or when the copy was never filled to 32 bytes.
bool ConvertWork(JisCodes& codes) {
    if (g_strTitleWork.size() != kTitleBytes) return false;
    for (std::size_t j = 0; j < codes.size(); ++j) {
        const int jis = ShiftJisToJis(static_cast<int>(ByteAt(2 * j) << 8 | ByteAt(2 * j + 1)));
        if (jis == 0) return false;
        codes[j] = static_cast<unsigned>(jis);
    }
    return true;
}

void AppendHex4(std::string& line, unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4) line += kDigits[(code >> shift) & 0xF];
}

}  // namespace

bool PrepareTitle(int nChannel) {
    if (!IsChannel(nChannel)) {
        g_strTitleWork.clear();
        return false;
    }
    std::string work = g_strTitle[nChannel];
    // A lone half-width blank means "no title": it goes out blank, like "".
    if (work == " ") work = kFullWidthSpace;
    const bool bFullWidth = work.size() <= kTitleBytes && work.size() % 2 == 0;
    if (bFullWidth) {
        while (work.size() < kTitleBytes) work += kFullWidthSpace;
    }
    g_strTitleWork = std::move(work);
    return bFullWidth;
}

int SendTitle(int nChannel) {
    JisCodes codes{};
    if (!IsChannel(nChannel) || !ConvertWork(codes)) return 1;
    if (CheckJisCodes(codes) != 0) return 2;
    SendCommand(FormatTitleLine(nChannel, codes));
    return 0;
}

int CheckJisCode(unsigned code) {
    const auto ranges = JisRanges();
    const bool bValid = std::any_of(ranges.begin(), ranges.end(), [code](const CJisRange& r) {
        return code >= r.first && code <= r.last;
    });
    return bValid ? 0 : 2;
}

int CheckJisCodes(const JisCodes& codes) {
    for (unsigned code : codes) {
        if (CheckJisCode(code) != 0) return 2;
    }
    return 0;
}

std::string FormatTitleLine(int nChannel, const JisCodes& codes) {
    std::string line = "CA";
    line.reserve(70);
    AppendTwoDigits(line, nChannel + 1);
    for (unsigned code : codes) AppendHex4(line, code);
    line += "\r\n";
    return line;
}

CStepResult TitleStep(int nChannel) {
    if (!PrepareTitle(nChannel)) return CStepResult::Refused(kNotJisLevel12Warning);
    switch (SendTitle(nChannel)) {
        case 0:
            return {};
        case 2:
            return CStepResult::Refused(kOutOfSpecWarning);
        default:
            return CStepResult::Refused(kNotJisLevel12Warning);
    }
}
