// Bytes from outside the program (a line from the switcher, a profile value)
// made safe to put in front of the user, in a terminal or the communication
// log: nothing in them can move the cursor, clear the screen or retitle the
// window, and every byte stays recognisable.
#pragma once

#include <string>
#include <string_view>

// CR and LF as "<CR>" and "<LF>" (a backslash shows as a yen sign in Japanese
// fonts, so the line ends are spelt out); every other byte below 0x20, DEL,
// and every byte that is not part of a valid UTF-8 character as "\xNN"
// (lower-case hex), also the two bytes of a C1 control (U+0080..U+009F), which
// terminals obey; a backslash as "\\", so that an escape is never ambiguous.
// Printable ASCII and UTF-8 text (a Japanese file name) pass unchanged;
// Shift_JIS bytes, which neither a UTF-8 terminal nor the log window reads,
// show as hex.
std::string VisibleText(std::string_view bytes);
