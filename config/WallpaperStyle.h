#pragma once

// How a picture is laid on the desktop. The numbering is the platform's own
// wallpaper-option style, so a stored value is handed to it unchanged.
enum WallpaperStyle : int {
    Center = 0,
    Tile = 1,
    Stretch = 2,
};
