#include "engine/FolderScan.h"

#include "config/FolderTime.h"
#include "engine/CWallpaperPlayer.h"

#include <sys/stat.h>

namespace {

// The C runtime refuses "C:\Pics\" while it accepts "C:\Pics" and "C:\", so a
// folder written with a trailing backslash would never get a time.
std::wstring WithoutTrailingBackslash(const std::wstring& path)
{
    const bool driveRoot = path.size() == 3 && path[1] == L':';
    if (path.size() > 1 && path.back() == L'\\' && !driveRoot) return path.substr(0, path.size() - 1);
    return path;
}

}  // namespace

bool QueryFolderTime(const std::wstring& folderPath, int64_t& modified)
{
    struct _stat64 status = {};
    if (_wstat64(WithoutTrailingBackslash(folderPath).c_str(), &status) != 0) return false;
    modified = static_cast<int64_t>(status.st_mtime);
    return true;
}

bool TestFoldersChanged(std::vector<CFolderEntry>& folders)
{
    for (CFolderEntry& folder : folders) {
        int64_t modified = 0;
        if (!QueryFolderTime(folder.path, modified)) continue;
        folder.changed = IsFolderChanged(folder.time, modified);
        if (folder.changed) return true;
    }
    return false;
}

void RescanFolders(CWallpaperPlayer& player, std::vector<CFolderEntry>& folders)
{
    player.Clear();
    for (CFolderEntry& folder : folders) {
        player.ScanFolder(folder.path.c_str());
        int64_t modified = 0;
        if (QueryFolderTime(folder.path, modified)) folder.time = FormatFolderTime(modified);
    }
}

bool LoadOrRescanFolders(CWallpaperPlayer& player, std::vector<CFolderEntry>& folders, const wchar_t* listFile)
{
    player.Clear();
    const bool rebuild = TestFoldersChanged(folders) || !player.LoadList(listFile);
    if (rebuild) RescanFolders(player, folders);
    return rebuild;
}
