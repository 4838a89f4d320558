// Shift_JIS (code page 932) and the JIS X 0208 codes the switcher carries:
// row and cell each 0x21..0x7E, row byte first.
#pragma once

// Whether byte starts a double-byte Shift_JIS character (0x81..0x9F,
// 0xE0..0xFC); any other byte is a character by itself.
bool IsShiftJisLeadByte(unsigned char byte);

// The Shift_JIS code of a JIS X 0208 code, or 0 when the code is outside the
// row and cell ranges.
int JisToShiftJis(int jis);

// The JIS X 0208 code of a double-byte Shift_JIS code, or 0 when it has none
// (the lead bytes above 0xEF lie beyond JIS row 94).
int ShiftJisToJis(int sjis);
