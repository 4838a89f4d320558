// Flags of the connection monitor. Like the settings model they belong to the
// thread that owns the link.
#pragma once

extern int g_bAwaitingReply;  // 1 from each send until a reply line has been interpreted
extern int g_nNoReplyTicks;   // monitor ticks counted while a reply is awaited
