// The I/O thread: joins received bytes into lines and queues them for the
// link's owner, finishes writes the driver could not take at once, and
// enforces the write time-out. When the port is lost (a hang-up, an I/O
// error, a connection reset or closed) it closes it and waits for the same
// name to come back, then reopens it with the same settings; what happens to
// the port goes to the owner as events queued with the lines. It never
// interprets a line itself.
#pragma once

#include <atomic>
#include <thread>

extern std::atomic<int> g_bReadThreadRun;  // 1 = the loop goes on, 0 = stop request
extern std::thread g_hReadThread;

// Start sequence: sets the run flag and starts the thread. False when it
// cannot be started (the caller reports "error creating read thread").
bool StartReadThread();

// Stop sequence: clears the run flag, wakes the thread and waits for its end.
// The thread purges the port's input queue on its way out.
void StopReadThread();

// How often the thread looks at its run flag when nothing can wake it.
inline constexpr int kPortRetryMs = 200;
// The pause between attempts to reopen a device that is away (its folder is
// watched as well, so it is usually sooner).
inline constexpr int kDeviceRetryMs = 1000;
// The pause between attempts to reach a server: doubling from the first to the last.
inline constexpr int kServerRetryFirstMs = 1000;
inline constexpr int kServerRetryLastMs = 10000;
// How long one attempt to reach a server waits for the name service to look
// its host up, and then for the server to take the connection. A lookup that
// takes longer goes on, and the next attempt takes its answer.
inline constexpr int kConnectTimeoutMs = 3000;
