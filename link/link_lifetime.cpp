#include "link/link_lifetime.h"

#include "link/receive_thread.h"
#include "link/serial_port.h"
#include "link/transmitter.h"

void StartLink() {
    OpenCommPort();
    StartReadThread();
}

void StopLink() {
    StopReadThread();
    CloseCommHandles();
    PortWriter().Reset();
}

void RestartLink() {
    StopLink();
    StartLink();
}
