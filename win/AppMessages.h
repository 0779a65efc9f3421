#pragma once

#include <windows.h>

// The program's private window messages, all of them sent to the frame.

// Posted by the controller to its owner after every change of picture.
constexpr UINT WM_PICTURE_CHANGED = WM_USER + 1;
// Sent by the settings dialog to its owner; lParam is a folder path ending in a backslash.
constexpr UINT WM_SHOW_PICTURE = WM_USER + 2;
