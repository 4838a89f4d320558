// Shift_JIS text (code page 932, as titles and the Windows program's files
// hold it) to and from UTF-8, through the C library's iconv.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

// One conversion descriptor, for the length of a call.
class CCodeConverter {
public:
    CCodeConverter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CCodeConverter();
    CCodeConverter(const CCodeConverter&) = delete;
    CCodeConverter& operator=(const CCodeConverter&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Converts the whole of in, or nothing.
    std::optional<std::string> Convert(std::string_view in);

private:
    iconv_t m_cd;
};

// Shift_JIS bytes as UTF-8; a byte that starts no character shows as U+FFFD.
std::string ShiftJisToUtf8(std::string_view bytes);
