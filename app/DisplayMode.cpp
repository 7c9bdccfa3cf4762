#include "app/DisplayMode.h"

int displayMode = DisplayModeEvent;
