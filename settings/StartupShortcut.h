#pragma once

#include <string>

// The program starts with the user's logon through "Lumivane.lnk" in the
// user's start-up folder; that file's existence is the whole setting.

// The shortcut's full path, built anew each time; empty when the start-up
// folder is unknown or missing (it is never created here).
std::wstring GetStartupShortcutPath();

// Writes a shell link at linkPath (its extension forced to ".lnk") that
// points to targetPath and holds nothing else. COM must be initialised.
bool CreateShortcut(const wchar_t* linkPath, const wchar_t* targetPath);

bool IsRunAtStartup();

// Creates the shortcut to the running executable, or deletes it, at once.
// Returns whether the shortcut exists afterwards, whatever happened.
bool SetRunAtStartup(bool run);
