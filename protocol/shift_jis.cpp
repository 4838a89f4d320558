#include "protocol/shift_jis.h"

namespace {

constexpr int kLastJisLead = 0xEF;  // JIS row 94

bool IsJisByte(int byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int JisToShiftJis(int jis) {
    const int row = (jis >> 8) & 0xFF;
    const int cell = jis & 0xFF;
    if (jis < 0 || jis > 0xFFFF || !IsJisByte(row) || !IsJisByte(cell)) return 0;
    const int lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
    const int trail = cell + ((row & 1) ? (cell < 0x60 ? 0x1F : 0x20) : 0x7E);
    return (lead << 8) | trail;
}

int ShiftJisToJis(int sjis) {
    const int lead = (sjis >> 8) & 0xFF;
    const int trail = sjis & 0xFF;
    const bool leadOk =
        IsShiftJisLeadByte(static_cast<unsigned char>(lead)) && lead <= kLastJisLead;
    const bool trailOk = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
    if (sjis < 0 || sjis > 0xFFFF || !leadOk || !trailOk) return 0;
    int row = (lead - (lead <= 0x9F ? 0x70 : 0xB0)) * 2 - 1;
    int cell;
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x7E;
    } else {
        cell = trail - (trail > 0x7F ? 0x20 : 0x1F);
    }
    return (row << 8) | cell;
}
