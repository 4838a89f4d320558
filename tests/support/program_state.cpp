#include "tests/support/program_state.h"

#include "editors/title_send.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/link_lifetime.h"
#include "model/settings_model.h"

void ResetProgramState() {
    StopLink();  // a link a test left running
    Link().Reset();
    g_nModel = 0;
    g_bRs485 = 0;
    g_nComPort = 0;
    ResetModelDefaults();
    g_nSendStep = 0;
    g_bErrorReply = 0;
    g_bAwaitingReply = 0;
    g_nNoReplyTicks = 0;
    g_strTitleWork.clear();
}
