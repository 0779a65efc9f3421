#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The plainest Win32 code that does the same work as the playlist's scan,
// save and load and as the tray icon's adding: the limit Lumivane's own code
// is measured against. No error reporting beyond a boolean, no fallbacks.

// Appends the full paths of the pictures directly inside the folder.
bool BareScan(const std::wstring& folder, std::vector<std::wstring>& paths);

// The least a save that survives a crash must do: one conversion of the
// joined text to the ANSI code page, one WriteFile to a temporary file,
// FlushFileBuffers, and MoveFileExW over the list.
bool BareSave(const std::wstring& file, const std::vector<std::wstring>& paths);

// One ReadFile, one conversion of the whole text, a split at each CR LF.
bool BareLoad(const std::wstring& file, std::vector<std::wstring>& paths);

// The program's playing icon from this program's resources, under the
// program's icon id, so the bench finds either program's icon the same way;
// the tooltip is cut to fit.
bool BareAddIcon(HWND window, const wchar_t* tip);
void BareRemoveIcon(HWND window);
// Whether the tray holds such an icon of `window`: the tray accepts a change
// of nothing for an icon it holds and refuses it for any other.
bool IconInTray(HWND window);
