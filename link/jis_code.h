// JIS X 0208 codes (row and cell each 0x21..0x7E) and their Shift_JIS form.
#pragma once

// The Shift_JIS code of a JIS X 0208 code, or 0 when the code is outside the
// row and cell ranges.
int JisToShiftJis(int jis);

// The JIS X 0208 code of a double-byte Shift_JIS code, or 0 when it has none.
int ShiftJisToJis(int sjis);
