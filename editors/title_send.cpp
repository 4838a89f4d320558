#include "editors/title_send.h"

#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/title_lines.h"

std::string g_strTitleWork;

namespace {

constexpr std::size_t kTitleBytes = 2 * kTitleChars;
constexpr char kFullWidthSpace[] = "\x81\x40";

bool IsChannel(int nChannel) {
    return nChannel >= 0 && nChannel < kMaxInputs;
}

// The work copy as 16 JIS codes; false at the first pair that is not a
// Shift_JIS double-byte character, or when the copy was never filled to 32 bytes.
bool ConvertWork(JisCodes& codes) {
    return g_strTitleWork.size() == kTitleBytes &&
           ShiftJisToJisCodes(g_strTitleWork, codes) == codes.size();
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

CStepResult TitleStep(int nChannel) {
    if (!PrepareTitle(nChannel)) return CStepResult::Refused(SendRefusal::kNotJisLevel12);
    switch (SendTitle(nChannel)) {
        case 0:
            return {};
        case 2:
            return CStepResult::Refused(SendRefusal::kOutOfSpec);
        default:
            return CStepResult::Refused(SendRefusal::kNotJisLevel12);
    }
}
