#include "config/CConf.h"

#include "config/DataFolder.h"
#include "config/ProfileText.h"
#include "win/AtomicFile.h"
#include "win/DecimalText.h"
#include "win/DecodeText.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

const wchar_t kGeneral[] = L"GENERAL";

// "path" and "lastpic" are read into path-sized buffers, "time" into a short one.
constexpr size_t kTimeChars = 128;
// Far beyond any configuration; a larger file is not one we wrote.
constexpr size_t kMaxConfigFileBytes = 16 * 1024 * 1024;

constexpr std::string_view kUtf16Bom = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianBom = "\xFE\xFF";

// An odd last byte is no character.
std::wstring Utf16Text(std::string_view bytes, bool bigEndian)
{
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned first = static_cast<unsigned char>(bytes[2 * i]);
        const unsigned second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return text;
}

// The file's text as the profile reader sees it: UTF-16 in either byte order
// or UTF-8 after their byte-order marks, otherwise the ANSI code page an
// earlier version wrote it in. UTF-16 without a mark is read as UTF-16 when
// it plainly is: read as ANSI it would give no folder, and the next save
// would lose them all. False when it cannot be converted, so it is never replaced.
bool DecodeConfigText(std::string_view bytes, std::wstring& text)
{
    const bool bigEndian = bytes.starts_with(kUtf16BigEndianBom);
    if (bigEndian || bytes.starts_with(kUtf16Bom)) {
        text = Utf16Text(bytes.substr(kUtf16Bom.size()), bigEndian);
        return true;
    }
    const bool utf8 = bytes.starts_with(kUtf8Bom);
    if (!DecodeText(utf8 ? CP_UTF8 : CP_ACP, bytes.substr(utf8 ? kUtf8Bom.size() : 0), false, text)) return false;
    // One NUL in the first two bytes hints at UTF-16 saved without its mark,
    // as some editors save it; but a NUL line left on top of an ANSI file
    // gives the same hint, so only more sections read that way decide it.
    if (bytes.size() >= sizeof(wchar_t) && (bytes[0] == '\0') != (bytes[1] == '\0')) {
        std::wstring wide = Utf16Text(bytes, bytes[0] == '\0');
        if (ProfileText(wide).SectionNames().size() > ProfileText(text).SectionNames().size()) text.swap(wide);
    }
    return true;
}

// The file's text; a missing file is empty text. False when it cannot be read or converted.
bool ReadConfigText(const wchar_t* fileName, std::wstring& text)
{
    std::string bytes;
    text.clear();
    return ReadFileBytes(fileName, kMaxConfigFileBytes, bytes) && DecodeConfigText(bytes, text);
}

// Always UTF-16LE with its byte-order mark: the profile functions keep such
// a file in UTF-16, so every folder name survives whatever the code page.
std::string EncodeConfigText(const std::wstring& text)
{
    std::string bytes(kUtf16Bom);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

}  // namespace

int CConf::Load(const wchar_t* file)
{
    if (file == nullptr) return 0;

    // The file is read once and looked up in memory: through the profile
    // functions every value is found from the top of the file again, which
    // takes seconds once a damaged file holds thousands of sections.
    std::wstring text;
    ReadConfigText(file, text);
    const ProfileText profile(text);
    playinterval = profile.GetInt(kGeneral, L"playinterval", kDefaultPlayInterval);
    const int pathCount = profile.GetInt(kGeneral, L"pathcount", 0);
    style = profile.GetInt(kGeneral, L"style", kDefaultStyle);
    state = profile.GetInt(kGeneral, L"state", kDefaultState);
    lastpic = profile.Get(kGeneral, L"lastpic", kPathChars);

    // Only sections that exist are read, whatever the count says, in the order of their numbers.
    int appended = 0;
    for (int number : FolderSectionNumbers(profile.SectionNames(), pathCount)) {
        const std::wstring section = DecimalText(number);
        CFolderEntry entry;
        entry.path = profile.Get(section, L"path", kPathChars);
        if (entry.path.empty()) continue;
        entry.time = profile.Get(section, L"time", kTimeChars);
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
            const std::wstring section = DecimalText(number++);
            profile.Set(section, L"path", entry.path);
            profile.Set(section, L"time", entry.time);
        }
    }
    return ReplaceFileBytes(fileName.c_str(), EncodeConfigText(profile.Text()));
}
