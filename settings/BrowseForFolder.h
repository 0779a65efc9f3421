#pragma once

#include <windows.h>

// Runs the shell's folder picker rooted at the desktop. `buffer` holds
// kPathChars characters: its text is the picker's first selection, and on
// return it holds the chosen folder's path, or nothing when the user
// cancelled. Returns true when a folder was chosen.
bool BrowseForFolder(wchar_t* buffer, HWND owner, const wchar_t* title, UINT flags);
