// The C library's text for an errno value as a child tool prints it: in the
// language of the locale the environment names, which the tool takes on.
#pragma once

#include <clocale>
#include <cstring>
#include <string>

inline std::string SystemText(int err) {
    locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (!locale) locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    std::string text = ::strerror_l(err, locale);
    ::freelocale(locale);
    return text;
}
