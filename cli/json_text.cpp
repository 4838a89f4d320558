#include "cli/json_text.h"

#include <cstdio>

#include "cli/utf8_text.h"

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        const CUtf8Char c = FirstUtf8Char(text);
        if (!c.bValid) {
            out += kReplacementChar;
        } else if (c.code == '"' || c.code == '\\') {
            out += '\\';
            out += static_cast<char>(c.code);
        } else if (c.code < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c.code));
            out += escaped;
        } else {
            out += text.substr(0, c.nBytes);
        }
        text.remove_prefix(c.nBytes);
    }
    return out + "\"";
}
