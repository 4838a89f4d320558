// Opening and configuring the one serial port: 9600 baud, 8 data bits, even
// parity sent (received parity not checked), 1 stop bit, RTS/CTS and XON/XOFF
// flow control, raw bytes. Each failing step shows its own set-up box and the
// open goes on, so a missing port gives five boxes in a row.
#pragma once

#include <termios.h>

#include <string>

extern int g_hComm;       // the open port, -1 when the open failed
extern int g_hWakeEvent;  // eventfd that wakes the I/O thread, -1 when absent

// Creates the event that wakes the I/O thread; -1 when it cannot.
using WakeEventCreator = int (*)();
int CreateWakeEvent();

// Opens the device CommPortPath() names, exclusively, and configures it. Without
// a wake event (the creator failed) the I/O thread looks at its run flag now
// and then instead.
void OpenCommPort(WakeEventCreator createWakeEvent = CreateWakeEvent);

// Closes the port and the wake event. The I/O thread must have ended.
void CloseCommHandles();

// The line settings applied to a terminal's attributes (exposed for tests).
void ApplyLineSettings(termios& tio);

// Bytes written to the port that the driver has not sent yet (0 when unknown).
int OutputQueued(int fd);
