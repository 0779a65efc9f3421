#include "config/CConf.h"

#include "config/DataFolder.h"
#include "config/ProfileText.h"
#include "win/AtomicFile.h"
#include "win/DecimalText.h"
#include "win/DecodeText.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace {

const wchar_t kGeneral[] = L"GENERAL";

// "path" and "lastpic" are read into path-sized buffers, "time" into a short one.
constexpr DWORD kTimeChars = 128;
// Far beyond any configuration; a larger file is not one we wrote.
constexpr size_t kMaxConfigFileBytes = 16 * 1024 * 1024;

const char kUtf16Bom[] = "\xFF\xFE";
constexpr size_t kUtf16BomBytes = sizeof(kUtf16Bom) - 1;

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

std::wstring SectionName(int number)
{
    return DecimalText(number);
}

// The file's text as the profile reader sees it: UTF-16LE or UTF-8 after
// their byte-order marks, otherwise the ANSI code page an earlier version
// wrote it in. False when it cannot be converted, so it is never replaced.
bool DecodeConfigText(const std::string& bytes, std::wstring& text)
{
    if (bytes.compare(0, kUtf16BomBytes, kUtf16Bom) == 0) {
        text.assign((bytes.size() - kUtf16BomBytes) / sizeof(wchar_t), L'\0');
        bytes.copy(reinterpret_cast<char*>(&text[0]), text.size() * sizeof(wchar_t), kUtf16BomBytes);
        return true;
    }
    const bool utf8 = bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0;
    return DecodeText(utf8 ? CP_UTF8 : CP_ACP, std::string_view(bytes).substr(utf8 ? kUtf8Bom.size() : 0), false, text);
}

// The file's text; a missing file is empty text. False when it cannot be read or converted.
bool ReadConfigText(const wchar_t* fileName, std::wstring& text)
{
    std::string bytes;
    text.clear();
    return ReadFileBytes(fileName, kMaxConfigFileBytes, bytes) && DecodeConfigText(bytes, text);
}

// The value as a profile read into a buffer of `chars` characters, terminator included, gives it.
std::wstring Cut(const std::wstring& text, size_t chars)
{
    return text.substr(0, chars - 1);
}

// Always UTF-16LE with its byte-order mark: the profile functions keep such
// a file in UTF-16, so every folder name survives whatever the code page.
std::string EncodeConfigText(const std::wstring& text)
{
    std::string bytes(kUtf16Bom, kUtf16BomBytes);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

}  // namespace

int CConf::Load(const wchar_t* file)
{
    if (file == nullptr) return 0;

    playinterval = ReadInt(kGeneral, L"playinterval", kDefaultPlayInterval, file);
    const int pathCount = ReadInt(kGeneral, L"pathcount", 0, file);
    style = ReadInt(kGeneral, L"style", kDefaultStyle, file);
    state = ReadInt(kGeneral, L"state", kDefaultState, file);
    lastpic = ReadText(kGeneral, L"lastpic", kPathChars, file);

    // The folder sections come from the file's text: the profile reader would
    // look each one up from the top of the file, which takes seconds once a
    // damaged file holds thousands. Only sections that exist are read,
    // whatever the count says, in the order of their numbers.
    std::wstring text;
    ReadConfigText(file, text);
    const ProfileText profile(text);
    int appended = 0;
    for (int number : FolderSectionNumbers(profile.SectionNames(), pathCount)) {
        const std::wstring section = SectionName(number);
        CFolderEntry entry;
        entry.path = Cut(profile.Get(section, L"path"), kPathChars);
        if (entry.path.empty()) continue;
        entry.time = Cut(profile.Get(section, L"time"), kTimeChars);
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
    return true;
}

bool CConf::Save(bool savePaths)
{
    // The whole new file is made from the current one and put in its place in
    // one step, so a crash or a full disk leaves the old configuration or the
    // new one, and everything the save does not touch stays as it was.
    std::wstring text;
    if (!ResolveFileName() || !ReadConfigText(fileName.c_str(), text)) return false;
    ProfileText profile(text);

    profile.Set(kGeneral, L"playinterval", DecimalText(playinterval));
    profile.Set(kGeneral, L"lastpic", lastpic);
    profile.Set(kGeneral, L"style", DecimalText(style));
    profile.Set(kGeneral, L"state", DecimalText(state));
    if (savePaths) {
        profile.Set(kGeneral, L"pathcount", DecimalText(static_cast<int>(folders.size())));
        int number = 1;
        for (const CFolderEntry& entry : folders) {
            const std::wstring section = SectionName(number++);
            profile.Set(section, L"path", entry.path);
            profile.Set(section, L"time", entry.time);
        }
    }
    return ReplaceFileBytes(fileName.c_str(), EncodeConfigText(profile.Text()));
}
