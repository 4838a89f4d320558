#include "app/corner_clicks.h"

int g_nCornerClicks = 0;
