// The switcher's one-line answers: "GO" for a set command done, one of six
// error replies, or a data line for a read command. work is the line as
// received after any RS-485 address, its CR LF included; replies are compared
// whole.
#pragma once

#include <optional>
#include <string_view>

#include "protocol/data_lines.h"

enum class ReplyKind { kGo, kData, kError, kOther };

enum class ErrorReply {
    kModeError,
    kMenuDisplay,
    kFramingError,
    kParityError,
    kOverRunError,
    kCommandError
};

inline constexpr std::string_view kGoReply = "GO\r\n";

// "GN\r\n", "MENU\r\n", "E0\r\n" .. "E3\r\n".
std::string_view ErrorReplyLine(ErrorReply error);
// The text of its box: "Mode Error", "Menu Display", "Framing Error",
// "Parity Error", "Over Run Error", "Command Error".
const char* ErrorReplyText(ErrorReply error);

// The error reply work is exactly, if any.
std::optional<ErrorReply> ErrorReplyOf(std::string_view work);

// What one reply was: GO, which error reply, a data line and which, or a
// line that is none of them (no answer the switcher gives).
struct CReply {
    ReplyKind kind = ReplyKind::kOther;
    std::optional<ErrorReply> error;  // kError
    std::optional<DataLine> data;     // kData
    bool operator==(const CReply&) const = default;
};

CReply ReadReply(std::string_view work);

// GO, a data line (by its tag), an error reply, or anything else.
ReplyKind ReplyKindOf(std::string_view work);
