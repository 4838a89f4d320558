// The owner thread's side of the reply queue: the lines the I/O thread has
// queued are interpreted here, one at a time, in order.
#pragma once

#include <chrono>
#include <string_view>

// Interprets every line received so far, each shown to Link().ReceivedLines()
// first. A call made while a line's box is open (a nested event loop) returns
// at once; the outer call goes on with the next line once the box has been
// dismissed.
void DispatchReplies();

// One line as the receive thread finished it: shown to the watchers, given the
// line it answers (Link().Owed()), then taken by the reply taker or answered.
void DispatchLine(std::string_view line, std::chrono::system_clock::time_point receivedAt =
                                             std::chrono::system_clock::now());

// Waits up to timeoutMs for a line, then dispatches. True when any line was interpreted.
bool WaitForReplies(int timeoutMs);
