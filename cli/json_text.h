// Text as a JSON string, for the documents qelvarctl writes for scripts.
#pragma once

#include <string>
#include <string_view>

// The text in double quotes: a quote and a backslash escaped, control
// characters as \u00XX, UTF-8 passed through, and a byte that starts no UTF-8
// character as U+FFFD, so that the document is always valid.
std::string JsonString(std::string_view text);
