#include "link/connection_monitor.h"

#include "link/link_context.h"
#include "link/link_flags.h"
#include "sink/message_sink.h"

int g_bAwaitingReply = 0;
int g_nNoReplyTicks = 0;

void MonitorTick() {
    if (!g_bAwaitingReply) return;
    if (g_nNoReplyTicks++ > 5) {
        g_bAwaitingReply = 0;
        g_nNoReplyTicks = 0;
        // Said once: an answer that still comes is late, and raises no box of its own.
        Link().Owed().GiveUpAll();
        Link().NoteNoConnect();
        ShowReplyError("No Connect");
    }
}
