// Titles are kept as Shift_JIS bytes (code page 932, as the Windows program's
// files hold them); the edit box works in Unicode. These convert at that edge.
// Linux input methods type JIS-style characters (WAVE DASH, MINUS SIGN, ...)
// where Windows has fullwidth forms: both map to the same bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// The title's characters; an unreadable byte shows as U+FFFD.
QString FromShiftJis(std::string_view bytes);

// The Shift_JIS bytes of text; characters without a Shift_JIS form are left out.
std::string ToShiftJis(const QString& text);

// Whether the character (a code point) has a Shift_JIS form that reads back as
// the same character.
bool HasShiftJisForm(char32_t ch);
