#include "link/link_lifetime.h"

#include "link/link_context.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"

CSetupResult StartLink(SetupReport report) {
    CSetupResult setup = OpenCommPort(CreateWakeEvent, report);
    if (!StartReadThread()) {
        setup.failures.push_back({SetupStep::kReadThread, {}});
        report(setup.failures.back());
    }
    return setup;
}

void StopLink() {
    StopReadThread();
    CloseCommHandles();
    Link().Writer().Reset();
    // What the thread queued and the owner has not handled is of the port
    // just closed: a loss or a line of it must not reach a link started next.
    Link().Replies().Clear();
}

CSetupResult RestartLink(SetupReport report) {
    StopLink();
    return StartLink(report);
}
