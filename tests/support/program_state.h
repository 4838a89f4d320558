// Puts the settings model, the interface and the link flags back to how the
// program starts: 32-input model, RS-232C, no cycle, no reply awaited.
#pragma once

void ResetProgramState();
