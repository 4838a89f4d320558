#include "tests/support/switcher_answers.h"

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "sim/virtual_switcher.h"

CSwitcherAnswers::CSwitcherAnswers() = default;
CSwitcherAnswers::~CSwitcherAnswers() = default;

void CSwitcherAnswers::Answer(std::string_view line) {
    if (!m_pSwitcher) {
        m_pSwitcher = std::make_unique<CVirtualSwitcher>(
            CSwitcherOptions{g_nModel, g_bRs485 != 0, g_nSlaveAddress, true});
    }
    m_pSwitcher->Reconfigure(g_nModel, g_bRs485 != 0, true);  // a test may change them
    if (auto reply = m_pSwitcher->Answer(line)) Link().Replies().Push(*reply);
}
