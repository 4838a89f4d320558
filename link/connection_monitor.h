// The main frame's 500 ms connection monitor.
#pragma once

// One monitor tick: counts while a reply is awaited and shows "No Connect"
// once, on the seventh tick after a send that got no reply.
void MonitorTick();
