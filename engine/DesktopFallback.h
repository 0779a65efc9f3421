#pragma once

#include "config/WallpaperStyle.h"

#include <string>

// The system's own wallpaper setting, for where the active-desktop service is
// missing or a stub. Writes the style to the user's desktop settings, then
// sets the picture persistently and tells running programs; true on success.
bool ApplyWallpaperThroughSystem(const std::wstring& path, WallpaperStyle style);

// Removes the desktop wallpaper; saved, but not broadcast.
void ClearSystemWallpaper();
