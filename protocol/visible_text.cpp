#include "protocol/visible_text.h"

#include <cstdint>

namespace {

void AppendHex(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 character at the start of s that may be shown as it
// is, or 0: not a valid, shortest-form encoding of a scalar value, or a C1
// control.
size_t ShowableCharacterLength(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[i]);
        if (!IsContinuation(next)) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool c1 = code >= 0x80 && code <= 0x9F;
    if (overlong || surrogate || c1 || code > 0x10FFFF) return 0;
    return length;
}

}  // namespace

std::string VisibleText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + 8);
    size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') {
            out += "<CR>";
        } else if (byte == '\n') {
            out += "<LF>";
        } else if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendHex(out, byte);
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (size_t length = ShowableCharacterLength(bytes.substr(i))) {
            out.append(bytes.substr(i, length));
            i += length;
            continue;
        } else {
            AppendHex(out, byte);  // the bytes after it are looked at afresh
        }
        ++i;
    }
    return out;
}
