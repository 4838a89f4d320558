// Bringing the link up, replacing it and taking it down.
#pragma once

#include "link/port_setup.h"

// Opens the port (OpenCommPort) and starts the I/O thread. report hears each
// failure as it happens: the port's steps before the thread is started, the
// thread's after. The program shows the set-up boxes; qelvarctl reads the
// returned value.
CSetupResult StartLink(SetupReport report = ShowSetupBox);

// Stops the I/O thread and waits for it, closes the port and its wake event,
// drops output that was still waiting, then opens the port again and starts a
// new thread. Used after the communication settings change.
CSetupResult RestartLink(SetupReport report = ShowSetupBox);

// Stops the I/O thread and waits for it, then closes the port.
void StopLink();
