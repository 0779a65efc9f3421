#pragma once

#include <windows.h>

// Places a dialog over `over` (its owner when `over` is null) when that
// window is visible and not minimized, otherwise in the middle of the work
// area of the nearest monitor; always inside that work area. The window stays
// where it is when no monitor can be found.
void CenterDialog(HWND window, HWND over);
