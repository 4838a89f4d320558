#include "link/serial_port.h"

#include <sys/eventfd.h>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "sink/message_sink.h"
#include "link/tty_transport.h"

int g_hComm = -1;

int CreateWakeEvent() {
    return ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

std::unique_ptr<ITransport> MakeCommTransport() {
    return std::make_unique<CTtyTransport>(CommPortName(), CommPortPath());
}

void OpenCommPort(WakeEventCreator createWakeEvent) {
    CLinkContext& link = Link();
    const int wakeFd = createWakeEvent();
    link.AdoptPort(MakeCommTransport(), wakeFd);
    ITransport& port = *link.Port();

    const COpenResult opened = port.Open();
    g_hComm = port.PollFd();
    if (!opened.bOpen) ShowSetupError("Miss! File Open\n" + opened.strReason);
    if (!port.SetNonBlocking()) ShowSetupError("Miss! Mask Set");
    if (!port.Discard(Queue::kBoth)) ShowSetupError("Miss! Buffer Set");
    if (!port.SetReadTimeouts()) ShowSetupError("Miss! Time Out Set");
    if (!port.ApplyLineSettings(kSwitcherLine)) ShowSetupError("Miss! Set Comm State");
}

void CloseCommHandles() {
    Link().ClosePort();
    g_hComm = -1;
}
