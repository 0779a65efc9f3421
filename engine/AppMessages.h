#pragma once

#include <windows.h>

// Posted by the controller to its owner after every change of picture.
constexpr UINT WM_PICTURE_CHANGED = WM_USER + 1;
