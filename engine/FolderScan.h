#pragma once

#include "config/CFolderEntry.h"

#include <cstdint>
#include <string>
#include <vector>

class CWallpaperPlayer;

// The folder's modification time in seconds since 1970 as the C runtime
// reports it; false when the folder cannot be examined.
bool QueryFolderTime(const std::wstring& folderPath, int64_t& modified);

// The start-up test: marks `changed` on the first folder modified after its
// stored `time` and stops there; true when such a folder was found. A folder
// that cannot be examined counts as unchanged.
bool TestFoldersChanged(std::vector<CFolderEntry>& folders);

// The rebuild: empties the list, scans each folder in order and re-stamps the
// `time` of every folder that can be examined. The position is left alone.
void RescanFolders(CWallpaperPlayer& player, std::vector<CFolderEntry>& folders);

// The start-up choice: empties the list, then loads the list file when no
// folder changed and it can be read, otherwise rebuilds from the folders.
// True when the list was rebuilt, so it and the folder times must be saved.
bool LoadOrRescanFolders(CWallpaperPlayer& player, std::vector<CFolderEntry>& folders, const wchar_t* listFile);
