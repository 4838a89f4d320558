#include "link/transmitter.h"

#include <cstdio>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "model/settings_model.h"

std::string FrameCommand(std::string_view line) {
    char address[16] = "";
    if (g_bRs485) std::snprintf(address, sizeof address, "%02d", g_nSlaveAddress);
    std::string framed(address);
    framed.append(line);
    return framed;
}

int SendCommand(std::string_view line) {
    std::string framed = FrameCommand(line);
    if (framed.size() > kMaxFramedLine) return -1;
    CLinkContext& link = Link();
    if (link.Tap()) {
        link.Tap()(framed);
    } else {
        link.Writer().Write(link.Port(), framed);
        link.WakeIoThread();  // it watches the write's progress and its time-out
    }
    link.NoteSent(framed);
    g_bAwaitingReply = 1;
    return 0;
}
