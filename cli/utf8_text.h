// UTF-8 text read without the locale: the characters it holds, the terminal
// columns it takes, and the same text made well-formed for formats that must
// be UTF-8 (JSON, XML).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The character at the front of text. A byte that starts no well-formed
// character (a stray continuation, an overlong form, a surrogate, beyond
// U+10FFFF, cut short) is one byte, invalid, read as U+FFFD.
struct CUtf8Char {
    char32_t code = 0;
    size_t nBytes = 0;  // 0 only for empty text
    bool bValid = false;
};
CUtf8Char FirstUtf8Char(std::string_view text);

// The columns a terminal gives a character: 2 for East Asian wide and
// fullwidth ones (kanji, kana, fullwidth forms), 0 for combining marks and
// zero-width ones, 1 for the rest (half-width katakana among them).
int CharColumns(char32_t code);
// The columns of text; an invalid byte takes one.
int DisplayWidth(std::string_view text);

// The text with each invalid byte as U+FFFD.
std::string ValidUtf8(std::string_view text);
// U+FFFD in UTF-8.
inline constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";
