// Puts the settings model, the interface, the link flags and the link's context
// back to how the program starts: 32-input model, RS-232C on COM1, no cycle,
// no reply awaited, no title being sent, no port, no watchers or tap, the usual
// profile and port. The GUI's own state is the app tests' fixture's.
#pragma once

void ResetProgramState();
