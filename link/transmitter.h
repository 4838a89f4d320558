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

// Hands a line already framed for nAddress (-1: RS-232C) to Link().Tap() or
// the port, as SendCommand does, without marking a reply as awaited: for
// questions that may go unanswered. Like every line sent it is owed its
// reply (Link().Owed()); returns the id it is owed under.
unsigned long SendFramed(std::string_view framed, int nAddress);
// The same for a line whose sender takes its answer from Link().Owed() itself
// (the control server): the answer raises no box, sets no flag and lands
// nowhere, and the connection monitor does not wait for it.
unsigned long SendQuietly(std::string_view framed, int nAddress);
