#include "link/transmitter.h"

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/read_lines.h"
#include "protocol/rs485_frame.h"

std::string FrameCommand(std::string_view line) {
    return FrameLine(g_bRs485 ? g_nSlaveAddress : -1, line);
}

namespace {

// The reply the line asks for: a read command's data line, or GO.
COwedReply OwedFor(std::string_view framed, int nAddress, bool bQuiet) {
    std::string_view body = LineBody(framed);
    if (nAddress >= 0) body = DropAddress(body);
    COwedReply owed;
    owed.strSent = framed;
    owed.read = ParseReadCommand(body, InputChannelCount());
    owed.nAddress = nAddress;
    owed.nStep = bQuiet ? 0 : g_nSendStep;
    owed.bQuiet = bQuiet;
    return owed;
}

unsigned long Send(std::string_view framed, int nAddress, bool bQuiet) {
    CLinkContext& link = Link();
    if (link.Tap()) {
        link.Tap()(framed);
    } else {
        link.Writer().Write(link.Port(), framed);
        link.WakeIoThread();  // it watches the write's progress and its time-out
    }
    link.NoteSent(framed);
    return link.Owed().Owe(OwedFor(framed, nAddress, bQuiet));
}

}  // namespace

unsigned long SendFramed(std::string_view framed, int nAddress) {
    return Send(framed, nAddress, false);
}

unsigned long SendQuietly(std::string_view framed, int nAddress) {
    return Send(framed, nAddress, true);
}

int SendCommand(std::string_view line) {
    const int address = g_bRs485 ? g_nSlaveAddress : -1;
    std::string framed = FrameLine(address, line);
    if (framed.size() > kMaxFramedLine) return -1;
    SendFramed(framed, address);
    g_bAwaitingReply = 1;
    return 0;
}
