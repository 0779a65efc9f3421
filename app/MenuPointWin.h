#pragma once

#include <windows.h>

// The point at which to open a popup menu. A point on no monitor gets its x
// moved into the work area of the nearest monitor, so that the menu opens on
// the screen; a point on a monitor is kept. y is never changed.
POINT MenuPointIntoWorkArea(POINT point);
