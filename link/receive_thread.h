// The I/O thread: joins received bytes into lines and queues them for the
// link's owner, finishes writes the driver could not take at once, and
// enforces the write time-out. It never interprets a line itself.
#pragma once

#include <atomic>
#include <thread>

extern std::atomic<int> g_bReadThreadRun;  // 1 = the loop goes on, 0 = stop request
extern std::thread g_hReadThread;

// Start sequence: sets the run flag and starts the thread; "error creating
// read thread" when it cannot be started.
void StartReadThread();

// Stop sequence: clears the run flag, wakes the thread and waits for its end.
// The thread purges the port's input queue on its way out.
void StopReadThread();

// The pause between retries of a port that keeps failing.
inline constexpr int kPortRetryMs = 200;
