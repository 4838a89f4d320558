// Sending command lines: framed for the interface, written without waiting.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "link/port_writer.h"

inline constexpr size_t kMaxFramedLine = 159;

// The line as it goes on the wire: on RS-485 the slave address as two digits
// in front ("00", "05", "17"), on RS-232C unchanged.
std::string FrameCommand(std::string_view line);

// Sends one complete command line (ending in CR LF) and marks a reply as
// awaited. Never blocks; a failed write is not reported. Returns -1, sending
// nothing, for a line that framed would exceed 159 characters.
int SendCommand(std::string_view line);

// Receives framed lines instead of the port: a dry run prints them, tests
// capture them. An empty tap sends to the port again.
using LineTap = std::function<void(std::string_view framedLine)>;
void SetLineTap(LineTap tap);

// Sees every framed line sent (for logs); does not change where it goes.
void SetSendObserver(LineTap observer);

// Lines handed over by SendCommand since the program started.
unsigned long LinesSent();

// The writer shared with the I/O thread.
CPortWriter& PortWriter();
