#pragma once

// True when some top-level window is visible, maximized and really on
// screen. Automatic changes pause while one is, so a full-screen program is
// never disturbed by a redrawn desktop.
// A cloaked window (a suspended store app, a window on another virtual
// desktop) keeps its visible and maximized flags but covers nothing.
bool IsDesktopCovered();
