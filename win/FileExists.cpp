#include "win/FileExists.h"

#include <windows.h>

bool FileExists(const wchar_t* path)
{
    if (path == nullptr) return false;
    if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return true;
    return ::GetLastError() == ERROR_ACCESS_DENIED;
}
