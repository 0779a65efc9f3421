#pragma once

#include <windows.h>

// True when some top-level window is visible, maximized and really on
// screen. Automatic changes pause while one is, so a full-screen program is
// never disturbed by a redrawn desktop.
bool IsDesktopCovered();

// A cloaked window (a suspended store app, a window on another virtual
// desktop) keeps its visible and maximized flags but covers nothing.
// Without the desktop window manager nothing is cloaked.
bool IsWindowCloaked(HWND window);
