#pragma once

#include <windows.h>

// A cloaked window (a suspended store app, a window on another virtual
// desktop) keeps its visible and maximized flags but covers nothing. This
// asks the desktop window manager; without one nothing is cloaked.
bool IsWindowCloaked(HWND window);

using CloakQuery = bool (*)(HWND window);

// True when some top-level window is visible, maximized and really on
// screen. Automatic changes pause while one is, so a full-screen program is
// never disturbed by a redrawn desktop.
bool IsDesktopCovered(CloakQuery isCloaked = &IsWindowCloaked);
