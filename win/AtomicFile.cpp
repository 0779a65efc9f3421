#include "win/AtomicFile.h"

#include "win/UniqueHandle.h"

#include <windows.h>

#include <algorithm>

namespace {

const wchar_t kTempSuffix[] = L".tmp";

bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, MAXDWORD));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return ::FlushFileBuffers(file) != FALSE;
}

bool WriteNewFile(const std::wstring& fileName, const std::string& bytes)
{
    UniqueFile file(::CreateFileW(fileName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && WriteAll(file.Get(), bytes);
}

}  // namespace

bool ReadFileBytes(const wchar_t* fileName, size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    UniqueFile file(::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError() == ERROR_FILE_NOT_FOUND;

    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    bytes.resize(read);
    return true;
}

bool ReplaceFileBytes(const wchar_t* fileName, const std::string& bytes)
{
    const std::wstring tempName = std::wstring(fileName) + kTempSuffix;
    const bool replaced = WriteNewFile(tempName, bytes) &&
                          ::MoveFileExW(tempName.c_str(), fileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) ::DeleteFileW(tempName.c_str());
    return replaced;
}
