#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with all it holds.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path; }
    // The folder joined with a name, one backslash between.
    std::wstring Join(const std::wstring& name) const;

private:
    std::wstring path;
};

// Empties the program's data folder before and after a test, so tests never
// see each other's lumi.ini or wallpaper.txt.
class DataFolderReset {
public:
    DataFolderReset();
    ~DataFolderReset();
    static std::wstring Folder();
    static std::wstring File(const std::wstring& name);
};

std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileIsThere(const std::wstring& path);
void RemoveTree(const std::wstring& path);
std::string Narrow(const std::wstring& text);
// The paths each in brackets, for comparing lists in assertion messages.
std::string Show(const std::vector<std::wstring>& paths);

// Runs the thread's messages for a bounded time, so timers and posted
// notifications reach their windows. A quit message is dropped: it would
// otherwise end the next message loop a test runs.
void PumpMessages(DWORD milliseconds);
