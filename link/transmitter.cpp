#include "link/transmitter.h"

#include <sys/eventfd.h>

#include <cstdio>

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "link/serial_port.h"
#include "model/settings_model.h"

namespace {

void WakeIoThread() {
    if (g_hWakeEvent >= 0) ::eventfd_write(g_hWakeEvent, 1);
}

}  // namespace

CPortWriter& PortWriter() {
    static CPortWriter s_writer;
    return s_writer;
}

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
    PortWriter().Write(g_hComm, framed);
    WakeIoThread();  // it watches the write's progress and its time-out
    g_bAwaitingReply = 1;
    return 0;
}
