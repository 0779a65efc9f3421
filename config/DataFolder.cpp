#include "config/DataFolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

bool GetDataFolderPath(wchar_t* buffer, size_t capacity)
{
    if (buffer == nullptr || capacity < kPathChars) return false;

    wchar_t path[kPathChars] = {};
    // The application-data folder itself is created on demand, as the shell does for everyone.
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, TRUE)) return false;
    if (!::PathAppendW(path, L"Lumivane")) return false;
    ::lstrcpynW(buffer, path, static_cast<int>(kPathChars));
    return true;
}

std::wstring GetDataFilePath(const wchar_t* name)
{
    wchar_t path[kPathChars] = {};
    if (!GetDataFolderPath(path, kPathChars) || !::PathAppendW(path, name)) return std::wstring();
    return path;
}
