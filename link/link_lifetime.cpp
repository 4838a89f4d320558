#include "link/link_lifetime.h"

#include "link/link_context.h"
#include "link/receive_thread.h"
#include "link/serial_port.h"

void StartLink() {
    OpenCommPort();
    StartReadThread();
}

void StopLink() {
    StopReadThread();
    CloseCommHandles();
    Link().Writer().Reset();
}

void RestartLink() {
    StopLink();
    StartLink();
}
