#pragma once

#include <cstdint>

// The arithmetic of CenterDialog, free of any window: where a dialog goes
// when it is centred over its owner or on a monitor's work area.

// A screen rectangle, right and bottom exclusive, as the platform gives them.
struct CenterRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct CenterPoint {
    int32_t x;
    int32_t y;
};

// The window the dialog would be centred over, as far as the rule cares.
struct CenterOwner {
    CenterRect rect;
    bool visible;
    bool minimized;
};

// True when the dialog is centred over the owner rather than on the work area.
bool IsUsableOwner(const CenterOwner* owner);

// Top-left corner for a dialog whose window rectangle is `window`: centred
// over a visible, not minimized owner, otherwise on `workArea`, and always
// pushed back inside `workArea` (its left and top edges win when the dialog
// is larger than the area). `owner` may be null.
CenterPoint CenterPosition(const CenterRect& window, const CenterOwner* owner, const CenterRect& workArea);
