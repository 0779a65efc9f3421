#include "tests/support/TestFiles.h"

#include "config/DataFolder.h"
#include "win/PathChars.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>

TempDir::TempDir()
{
    static unsigned counter = 0;
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    std::wstringstream name;
    name << base << L"lumitest-" << ::GetCurrentProcessId() << L"-" << ++counter;
    path = name.str();
    RemoveTree(path);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

TempDir::~TempDir()
{
    RemoveTree(path);
}

std::wstring TempDir::Join(const std::wstring& name) const
{
    return path + L"\\" + name;
}

DataFolderReset::DataFolderReset()
{
    RemoveTree(Folder());
}

DataFolderReset::~DataFolderReset()
{
    RemoveTree(Folder());
}

std::wstring DataFolderReset::Folder()
{
    wchar_t path[kPathChars] = {};
    GetDataFolderPath(path, kPathChars);
    return path;
}

std::wstring DataFolderReset::File(const std::wstring& name)
{
    return GetDataFilePath(name.c_str());
}

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool FileIsThere(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data = {};
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(path.c_str());
}

std::string Narrow(const std::wstring& text)
{
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], bytes, nullptr, nullptr);
    return result;
}

std::string Show(const std::vector<std::wstring>& paths)
{
    std::string text;
    for (const std::wstring& path : paths) text += "[" + Narrow(path) + "]";
    return text;
}

void PumpMessages(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}
