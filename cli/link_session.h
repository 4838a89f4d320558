// The link as the command-line tool uses it: settings from the profile and the
// options, the port opened, replies interpreted on this thread.
#pragma once

#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/cli_sink.h"

inline constexpr int kReplyTimeoutMs = 3500;

// Reads the profile, resets the model to its defaults and applies the
// interface, address and model options.
void ApplyLinkSettings(const CCliOptions& options);

// Opens the port and starts the I/O thread. Prints the reason and returns
// false when the port cannot be used.
bool OpenLink(const CCliOptions& options, CCliSink& sink);
void CloseLink();

// Dispatches replies until one more than `before` has been interpreted, at
// most timeoutMs. False when none came.
bool WaitForReplyAfter(unsigned long before, int timeoutMs);

// The last line received, as it came.
const std::string& LastReply();

// A reply line as shown to the user: no CR LF, no RS-485 address echo.
std::string_view ShownReply(std::string_view line);
