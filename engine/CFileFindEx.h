#pragma once

#include "win/UniqueHandle.h"

#include <windows.h>

// Enumerates the entries directly inside one folder and yields their full
// paths, "." and ".." left out. Opened at construction, closed at destruction.
class CFileFindEx {
public:
    CFileFindEx(const wchar_t* folderPath, const wchar_t* pattern);
    virtual ~CFileFindEx() = default;

    CFileFindEx(const CFileFindEx&) = delete;
    CFileFindEx& operator=(const CFileFindEx&) = delete;

    bool IsValid() const { return valid; }

    // Writes the full path of the next entry into a buffer of kPathChars
    // characters; false when there are no more entries. An entry whose full
    // path would not fit is passed over.
    bool FindNext(wchar_t* buffer);
    // Whether the entry FindNext wrote last is a folder.
    bool IsDirectory() const { return (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

private:
    bool FetchNext();
    bool IsDotEntry() const;

    UniqueFind findHandle;
    wchar_t folder[MAX_PATH] = {};
    WIN32_FIND_DATAW findData = {};
    bool valid = false;
    int nextCalls = 0;
};
