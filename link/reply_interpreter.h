// Sorts each reply line into acknowledgement, data line or error reply, shows
// the box that belongs to it, keeps the error flag running cycles watch, and
// decodes data lines into the settings model. Runs on the link's owner thread.
#pragma once

#include <string_view>

#include "protocol/replies.h"

// The line as interpreted: on RS-485 without the two characters of the
// address echo in front, which are not looked at.
std::string_view WorkLine(std::string_view line);

// What a line as received is (on RS-485 after its two address characters).
ReplyKind ClassifyReply(std::string_view line);

// Interprets one line as received, CR LF included (and on RS-485 the two
// address characters in front), and says what it was. Its box, its flag and
// its decoding are done by the time it returns.
CReply InterpretReply(std::string_view line);
