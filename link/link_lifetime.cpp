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
}

CSetupResult RestartLink(SetupReport report) {
    StopLink();
    return StartLink(report);
}
