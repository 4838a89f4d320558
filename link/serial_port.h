// Opening and configuring the one port: 9600 baud, 8 data bits, even parity
// sent (received parity not checked), 1 stop bit, RTS/CTS and XON/XOFF flow
// control, raw bytes. Each failing step shows its own set-up box and the open
// goes on, so a missing port gives five boxes in a row. A serial device
// server's port (tcp://, rfc2217://) is connected by the I/O thread instead,
// without boxes; its state shows in Link().State().
#pragma once

#include <functional>
#include <memory>

#include "link/link_state.h"
#include "link/transport.h"

// The open port's descriptor (the transport's PollFd), -1 while it is not open.
extern int g_hComm;

// Creates the event that wakes the I/O thread; -1 when it cannot.
using WakeEventCreator = int (*)();
int CreateWakeEvent();

// The transport for the port the settings name (CommPortPath), not yet open:
// a device, or a serial device server for a tcp:// or rfc2217:// name.
std::unique_ptr<ITransport> MakeCommTransport();
// The same for any port's name (name: "COM1", or empty), not yet open.
std::unique_ptr<ITransport> MakeTransport(const std::string& name, const std::string& path);

// The steps after Open that make a device the switcher's line, in order.
enum class SetupStep { kMask, kBuffer, kTimeOut, kCommState };
// Runs every step, whatever failed before; onFail hears each that fails. True
// when all succeeded.
bool SetUpPort(ITransport& port, const std::function<void(SetupStep)>& onFail = {});

// Opens that port, exclusively, and configures it; it becomes Link().Port().
// Without a wake event (the creator failed) the I/O thread looks at its run
// flag now and then instead.
void OpenCommPort(WakeEventCreator createWakeEvent = CreateWakeEvent);

// Closes the port and the wake event. The I/O thread must have ended.
void CloseCommHandles();

// The owner's side of what the I/O thread saw: the link's state and g_hComm.
void ApplyPortEvent(const CPortEvent& event);
