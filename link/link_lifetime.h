// Bringing the link up, replacing it and taking it down.
#pragma once

// Opens the port (OpenCommPort) and starts the I/O thread.
void StartLink();

// Stops the I/O thread and waits for it, closes the port and its wake event,
// drops output that was still waiting, then opens the port again and starts a
// new thread. Used after the communication settings change.
void RestartLink();

// Stops the I/O thread and waits for it, then closes the port.
void StopLink();
