#include "link/transmitter.h"

#include <sys/eventfd.h>

#include <cstdio>

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "link/serial_port.h"
#include "model/settings_model.h"

namespace {

LineTap g_lineTap;
LineTap g_sendObserver;
unsigned long g_nLinesSent = 0;

void WakeIoThread() {
    if (g_hWakeEvent >= 0) ::eventfd_write(g_hWakeEvent, 1);
}

}  // namespace

CPortWriter& PortWriter() {
    static CPortWriter s_writer;
    return s_writer;
}

void SetLineTap(LineTap tap) {
    g_lineTap = std::move(tap);
}
void SetSendObserver(LineTap observer) {
    g_sendObserver = std::move(observer);
}
unsigned long LinesSent() {
    return g_nLinesSent;
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
    if (g_lineTap) {
        g_lineTap(framed);
    } else {
        PortWriter().Write(g_hComm, framed);
        WakeIoThread();  // it watches the write's progress and its time-out
    }
    ++g_nLinesSent;
    if (g_sendObserver) g_sendObserver(framed);
    g_bAwaitingReply = 1;
    return 0;
}
