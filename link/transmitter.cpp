#include "link/transmitter.h"

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

std::string FrameCommandFor(std::string_view line, int nAddress) {
    std::string framed = nAddress >= 0 ? TwoDigits(nAddress) : std::string();
    framed.append(line);
    return framed;
}

std::string FrameCommand(std::string_view line) {
    return FrameCommandFor(line, g_bRs485 ? g_nSlaveAddress : -1);
}

void SendFramed(std::string_view framed) {
    CLinkContext& link = Link();
    if (link.Tap()) {
        link.Tap()(framed);
    } else {
        link.Writer().Write(link.Port(), framed);
        link.WakeIoThread();  // it watches the write's progress and its time-out
    }
    link.NoteSent(framed);
}

int SendCommand(std::string_view line) {
    std::string framed = FrameCommand(line);
    if (framed.size() > kMaxFramedLine) return -1;
    SendFramed(framed);
    g_bAwaitingReply = 1;
    return 0;
}
