#include "tests/support/wire_capture.h"

#include "link/link_context.h"
#include "model/settings_model.h"
#include "tests/support/program_state.h"

CWireCapture::CWireCapture() {
    ResetProgramState();
    Link().SetLineTap([this](std::string_view line) {
        lines.emplace_back(line);
        if (m_bAnswering) m_answers.Answer(line);
    });
}

CWireCapture::~CWireCapture() {
    Link().SetLineTap({});
    g_nSendStep = 0;
}
