// The main frame's count of context-menu requests in its top-left corner: ten
// in a row open the maintenance read-back. Opening an editor, the read-back or
// the link dialogs starts the count afresh.
#pragma once

extern int g_nCornerClicks;
