#include "engine/CFileFindEx.h"

#include "win/PathChars.h"

#include <shlwapi.h>

#include <cwchar>

static_assert(MAX_PATH == kPathChars, "path buffers are the platform's path limit");

CFileFindEx::CFileFindEx(const wchar_t* folderPath, const wchar_t* pattern)
{
    if (folderPath == nullptr || pattern == nullptr || !::PathIsDirectoryW(folderPath)) return;
    // A longer folder would be cut here and the search would run somewhere else.
    if (std::wcslen(folderPath) >= kPathChars) return;
    ::lstrcpynW(folder, folderPath, static_cast<int>(kPathChars));

    wchar_t searchSpec[kPathChars] = {};
    if (::PathCombineW(searchSpec, folder, pattern) == nullptr) return;
    findHandle.Reset(::FindFirstFileW(searchSpec, &findData));
    valid = findHandle.IsValid();
}

bool CFileFindEx::FetchNext()
{
    return ::FindNextFileW(findHandle.Get(), &findData) != FALSE;
}

bool CFileFindEx::IsDotEntry() const
{
    return std::wcscmp(findData.cFileName, L".") == 0 || std::wcscmp(findData.cFileName, L"..") == 0;
}

bool CFileFindEx::FindNext(wchar_t* buffer)
{
    if (!findHandle.IsValid() || buffer == nullptr) return false;
    // The first call hands out the entry the opening search already fetched.
    if (nextCalls > 0 && !FetchNext()) return false;

    for (;;) {
        if (!IsDotEntry() && ::PathCombineW(buffer, folder, findData.cFileName) != nullptr) break;
        if (!FetchNext()) return false;
    }
    ++nextCalls;
    return true;
}
