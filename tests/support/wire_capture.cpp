#include "tests/support/wire_capture.h"

#include "link/transmitter.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"

CWireCapture::CWireCapture() {
    ResetProgramState();
    SetLineTap([this](std::string_view line) { lines.emplace_back(line); });
}

CWireCapture::~CWireCapture() {
    SetLineTap({});
    g_nSendStep = 0;
}
