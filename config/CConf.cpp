#include "config/CConf.h"

#include "config/DataFolder.h"
#include "win/UniqueHandle.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>
#include <string>

namespace {

const wchar_t kGeneral[] = L"GENERAL";

// "path" and "lastpic" are read into path-sized buffers, "time" into a short one.
constexpr DWORD kTimeChars = 128;
constexpr DWORD kNumberChars = 32;

const unsigned char kUtf16Bom[] = {0xFF, 0xFE};

int ReadInt(const wchar_t* section, const wchar_t* key, int fallback, const wchar_t* file)
{
    // The profile reader returns the number as an unsigned value; the stored text is signed.
    return static_cast<int>(::GetPrivateProfileIntW(section, key, fallback, file));
}

std::wstring ReadText(const wchar_t* section, const wchar_t* key, DWORD chars, const wchar_t* file)
{
    std::wstring buffer(chars, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(section, key, L"", &buffer[0], chars, file);
    buffer.resize(length);
    return buffer;
}

void WriteText(const wchar_t* section, const wchar_t* key, const std::wstring& value, const wchar_t* file)
{
    ::WritePrivateProfileStringW(section, key, value.c_str(), file);
}

void WriteInt(const wchar_t* section, const wchar_t* key, int value, const wchar_t* file)
{
    wchar_t text[kNumberChars] = {};
    std::swprintf(text, kNumberChars, L"%d", value);
    ::WritePrivateProfileStringW(section, key, text, file);
}

std::wstring SectionName(int number)
{
    return std::to_wstring(number);
}

// The profile writer keeps a file in UTF-16 only when the file already
// starts with a byte-order mark; otherwise it stores the ANSI code page and
// turns every other character into '?'. So a new file starts as an empty
// UTF-16LE file.
void CreateUnicodeFile(const wchar_t* path)
{
    UniqueFile file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.Get(), kUtf16Bom, sizeof(kUtf16Bom), &written, nullptr);
}

} // namespace

int CConf::Load(const wchar_t* file)
{
    if (file == nullptr) return 0;

    playinterval = ReadInt(kGeneral, L"playinterval", kDefaultPlayInterval, file);
    const int pathCount = ReadInt(kGeneral, L"pathcount", 0, file);
    style = ReadInt(kGeneral, L"style", kDefaultStyle, file);
    state = ReadInt(kGeneral, L"state", kDefaultState, file);
    lastpic = ReadText(kGeneral, L"lastpic", kPathChars, file);

    int appended = 0;
    for (int i = 1; i <= pathCount; ++i) {
        const std::wstring section = SectionName(i);
        CFolderEntry entry;
        entry.path = ReadText(section.c_str(), L"path", kPathChars, file);
        if (entry.path.empty()) continue;
        entry.time = ReadText(section.c_str(), L"time", kTimeChars, file);
        folders.push_back(entry);
        ++appended;
    }

    fileName = file;
    return appended;
}

bool CConf::ResolveFileName()
{
    if (!fileName.empty() && ::GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) return true;

    wchar_t path[kPathChars] = {};
    if (!GetDataFolderPath(path, kPathChars)) return false;
    if (!::PathIsDirectoryW(path)) ::CreateDirectoryW(path, nullptr);
    if (!::PathAppendW(path, kConfigFileName)) return false;
    fileName = path;
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) CreateUnicodeFile(path);
    return true;
}

bool CConf::Save(bool savePaths)
{
    // Failures of the profile writer are not detectable; the save still counts as done.
    if (!ResolveFileName()) return true;
    const wchar_t* file = fileName.c_str();

    WriteInt(kGeneral, L"playinterval", playinterval, file);
    WriteText(kGeneral, L"lastpic", lastpic, file);
    WriteInt(kGeneral, L"style", style, file);
    WriteInt(kGeneral, L"state", state, file);
    if (!savePaths) return true;

    WriteInt(kGeneral, L"pathcount", static_cast<int>(folders.size()), file);
    int number = 1;
    for (const CFolderEntry& entry : folders) {
        const std::wstring section = SectionName(number++);
        WriteText(section.c_str(), L"path", entry.path, file);
        WriteText(section.c_str(), L"time", entry.time, file);
    }
    return true;
}
