// The owner thread's side of the reply queue: the lines the I/O thread has
// queued are interpreted here, one at a time, in order.
#pragma once

// Interprets every line received so far, each shown to Link().ReceivedLines()
// first. A call made while a line's box is open (a nested event loop) returns
// at once; the outer call goes on with the next line once the box has been
// dismissed.
void DispatchReplies();

// Waits up to timeoutMs for a line, then dispatches. True when any line was interpreted.
bool WaitForReplies(int timeoutMs);
