// Opening and configuring the one port: 9600 baud, 8 data bits, even parity
// sent (received parity not checked), 1 stop bit, RTS/CTS and XON/XOFF flow
// control, raw bytes. Every step is tried whatever failed before, so a missing
// port fails five times in a row; each failure is reported as it happens (in
// the program, its own set-up box) and all come back as a CSetupResult. A serial
// device server's port (tcp://, rfc2217://) is connected by the I/O thread
// instead, without boxes; its state shows in Link().State().
#pragma once

#include <memory>

#include "link/link_state.h"
#include "link/port_setup.h"
#include "link/transport.h"

// The open port's descriptor (the transport's PollFd) as the owner thread
// knows it: set by the first open, by the I/O thread's report of the port
// back, and -1 when it is lost, closed, or not open.
extern int g_hComm;

// Creates the event that wakes the I/O thread; -1 when it cannot.
using WakeEventCreator = int (*)();
int CreateWakeEvent();

// The transport for the port the settings name (CommPortPath), not yet open:
// a device, or a serial device server for a tcp:// or rfc2217:// name.
std::unique_ptr<ITransport> MakeCommTransport();
// The same for any port's name (name: "COM1", or empty), not yet open.
std::unique_ptr<ITransport> MakeTransport(const std::string& name, const std::string& path);

// Runs the steps after Open that make a device the switcher's line (kMask ..
// kCommState), every one whatever failed before; report hears each that fails.
CSetupResult SetUpPort(ITransport& port, SetupReport report = IgnoreSetupFailure);

// Opens that port, exclusively, and configures it; it becomes Link().Port().
// Without a wake event (the creator failed) the I/O thread looks at its run
// flag now and then instead. report hears each failed step as it fails,
// before the link's state says how the open went.
CSetupResult OpenCommPort(WakeEventCreator createWakeEvent = CreateWakeEvent,
                          SetupReport report = ShowSetupBox);

// Closes the port and the wake event. The I/O thread must have ended.
void CloseCommHandles();

// The owner's side of what the I/O thread saw: the link's state and g_hComm.
void ApplyPortEvent(const CPortEvent& event);
