#include "link/jis_code.h"

int JisToShiftJis(int jis) {
    int row = (jis >> 8) & 0xFF;
    int cell = jis & 0xFF;
    if (jis < 0 || jis > 0xFFFF || row < 0x21 || row > 0x7E || cell < 0x21 || cell > 0x7E) {
        return 0;
    }
    int lead = ((row + 1) >> 1) + (row <= 0x5E ? 0x70 : 0xB0);
    int trail = cell + ((row & 1) ? (cell < 0x60 ? 0x1F : 0x20) : 0x7E);
    return (lead << 8) | trail;
}

int ShiftJisToJis(int sjis) {
    int lead = (sjis >> 8) & 0xFF;
    int trail = sjis & 0xFF;
    bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
    bool trailOk = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
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
