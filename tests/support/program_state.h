// Puts the settings model, the interface, the link flags and the link's context
// back to how the program starts: 32-input model, RS-232C, no cycle, no reply
// awaited, no port, no watchers or tap, the usual profile and port.
#pragma once

void ResetProgramState();
