// Sending command lines: framed for the interface, written without waiting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr size_t kMaxFramedLine = 159;

// The line as it goes on the wire: on RS-485 the slave address as two digits
// in front ("00", "05", "17"), on RS-232C unchanged.
std::string FrameCommand(std::string_view line);

// Sends one complete command line (ending in CR LF) and marks a reply as
// awaited. Never blocks; a failed write is not reported. Returns -1, sending
// nothing, for a line that framed would exceed 159 characters. The line goes
// to Link().Tap() when one is set, else to the port; Link().SentLines() sees it.
int SendCommand(std::string_view line);
