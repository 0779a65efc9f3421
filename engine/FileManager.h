#pragma once

#include <cstddef>

// Shows a picture in the file manager: explorer.exe with the picture selected
// where Explorer allows that, otherwise the picture's folder alone, opened on
// a short-lived worker thread so the tray never waits for the shell. Nothing
// is ever reported to the user; callers ignore the results.

// The two launches the hand-off can make. The program uses the real ones;
// tests put a recorder in their place so no file manager starts.
class IFileManagerLauncher {
public:
    virtual ~IFileManagerLauncher() = default;
    // Starts program maximized with the given parameter text; true when it started.
    virtual bool StartFileManager(const wchar_t* program, const wchar_t* parameters) = 0;
    // Opens folder without waiting for it; true when that was set going.
    virtual bool OpenFolder(const wchar_t* folder) = 0;
};

// Expands %VAR% references in path, then starts explorer.exe with
// /select,"<path>"; falls back to opening the folder when explorer.exe is
// missing or runs its windows in a separate process. An empty or null path
// still opens a window (direct case) or hands the worker an empty folder.
// False, starting nothing, when the expanded path does not fit a path buffer.
bool RevealInFileManager(const wchar_t* path);
bool RevealInFileManager(const wchar_t* path, IFileManagerLauncher& launcher);

// "<Windows folder>\explorer.exe" into buffer when that file is there; an
// empty buffer and false otherwise. False, writing nothing, when buffer is null
// or capacity is below kPathChars.
bool GetExplorerPath(wchar_t* buffer, size_t capacity);

// True when the user's Explorer settings ask for folder windows in a process
// of their own ("SeparateProcess") or a separate desktop process
// ("DesktopProcess"); /select then does not reach a new window reliably.
bool IsExplorerSeparateProcess();

// What the worker does with its folder; the program's opener is the shell's
// "open" verb.
using FolderOpener = void (*)(const wchar_t* folder, int showCommand);

// Copies folder into a block the worker thread owns and starts that thread,
// which opens the folder maximized and ends. True when the thread was created.
// The caller never waits for it.
bool OpenFolderAsync(const wchar_t* folder);
bool OpenFolderAsync(const wchar_t* folder, FolderOpener open);
