#include "dialog_kit/corner_clicks.h"

int g_nCornerClicks = 0;
