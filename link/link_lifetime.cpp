#include "link/link_lifetime.h"

#include "link/link_context.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"

CPortSetup StartLink(SetupReport report) {
    CPortSetup setup = OpenCommPort(CreateWakeEvent, report);
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

CPortSetup RestartLink(SetupReport report) {
    StopLink();
    return StartLink(report);
}
