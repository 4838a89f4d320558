// A channel title that comes from outside the program as UTF-8 text (a
// network client's input label, a spreadsheet cell): folded to the full-width
// characters the switcher shows, then checked as the title editor checks what
// it sends. A stored title reads back as text with ShiftJisToUtf8
// (model/cp932_text.h).
#pragma once

#include <string>
#include <string_view>

#include "editors/send_step.h"

struct CTitleFold {
    std::string title;  // Shift_JIS bytes as g_strTitle holds them, unfilled; empty when refused
    SendRefusal refusal = SendRefusal::kNone;
    int nChars = 0;  // the characters once folded; over 16 is refused

    bool Accepted() const { return refusal == SendRefusal::kNone; }
    // The title editor's warning for the refusal, nullptr when accepted.
    const char* Warning() const { return RefusalWarning(refusal); }
};

// Folds half-width text to full width: a space to U+3000, printable ASCII to
// the fullwidth forms (the quotes to ” and ’), half-width katakana to
// full-width with a following voiced or semi-voiced mark joined to it (ｶﾞ is
// ガ; such a mark or a combining one after full-width kana joins it too).
// Trailing full-width spaces are dropped, as the line fills them in and the
// read-back drops them. The result is accepted exactly when TitleStep would
// send it. Refused with kNotJisLevel12: invalid UTF-8, more than 16
// characters, a character without a CP932 form (emoji) or without a
// double-byte one, and one beyond JIS row 94 (the IBM extension kanji, such as
// 髙); with kOutOfSpec: a double-byte character outside JIS X 0208 (the NEC
// row 13: ①, Ⅰ, ㍉).
CTitleFold FoldTitle(std::string_view utf8);
