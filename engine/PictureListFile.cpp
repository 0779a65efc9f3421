#include "engine/PictureListFile.h"

#include "engine/PlaylistRules.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8BomBytes = sizeof(kUtf8Bom) - 1;
const char kLineEnd[] = "\r\n";
// Above 100,000 full-length paths of two-byte characters; a larger file is not a list.
constexpr LONGLONG kMaxListFileBytes = 64LL * 1024 * 1024;
// The longest character of any code page, in bytes (UTF-8's four).
constexpr int kMaxCharBytes = 4;
const wchar_t kTempSuffix[] = L".tmp";

bool ReadWholeFile(const wchar_t* fileName, std::string& bytes)
{
    UniqueFile file(::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxListFileBytes) return false;

    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return false;
    }
    bytes.resize(read);
    return true;
}

bool Decode(unsigned codePage, const char* bytes, int length, std::wstring& text)
{
    if (length == 0) {
        text.clear();
        return true;
    }
    const int chars = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
    if (chars <= 0) return false;
    text.resize(static_cast<size_t>(chars));
    return ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, &text[0], chars) == chars;
}

// The longest start of the line that converts; the read ends at the first bad character.
std::wstring DecodeValidStart(unsigned codePage, const std::string& line)
{
    size_t good = 0;
    std::wstring ignored;
    while (good < line.size()) {
        int width = 1;
        const int widest = static_cast<int>(std::min<size_t>(kMaxCharBytes, line.size() - good));
        while (width <= widest && !Decode(codePage, line.data() + good, width, ignored)) ++width;
        if (width > widest) break;
        good += static_cast<size_t>(width);
    }
    std::wstring text;
    Decode(codePage, line.data(), static_cast<int>(good), text);
    return text;
}

// Appends the entries of `lines`; a line with bytes the code page cannot
// convert gives the text before them, if any, as the last entry.
void DecodeLines(unsigned codePage, const std::vector<std::string>& lines, std::vector<std::wstring>& entries)
{
    entries.reserve(lines.size());
    std::wstring text;
    for (const std::string& line : lines) {
        if (Decode(codePage, line.data(), static_cast<int>(line.size()), text)) {
            entries.push_back(text);
            continue;
        }
        text = DecodeValidStart(codePage, line);
        if (!text.empty()) entries.push_back(text);
        return;
    }
}

// Appends the path in the code page; false when some character has no exact
// form there (no best-fit look-alikes, which would name another file).
bool Encode(unsigned codePage, const std::wstring& path, std::string& bytes)
{
    if (path.empty()) return true;
    const bool utf8 = codePage == CP_UTF8;
    // A lone surrogate has no UTF-8 form; without the flag it would be written as U+FFFD.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(path.size());
    const int needed = ::WideCharToMultiByte(codePage, flags, path.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    const size_t at = bytes.size();
    bytes.resize(at + static_cast<size_t>(needed));
    const int written =
        ::WideCharToMultiByte(codePage, flags, path.c_str(), length, &bytes[at], needed, nullptr, usedDefaultOut);
    return written == needed && !usedDefault;
}

bool EncodeList(unsigned codePage, const std::vector<std::wstring>& pictures, std::string& bytes)
{
    bytes.clear();
    for (const std::wstring& path : pictures) {
        if (!Encode(codePage, path, bytes)) return false;
        bytes += kLineEnd;
    }
    return true;
}

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

// A line holding a NUL cannot name a file; a file cut by a power loss often ends in them.
void DropUnusableEntries(std::vector<std::wstring>& entries)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const std::wstring& entry) { return entry.find(L'\0') != std::wstring::npos; }),
                  entries.end());
}

}  // namespace

unsigned ListFileCodePage()
{
    UINT codePage = CP_ACP;
    const int chars = static_cast<int>(sizeof(codePage) / sizeof(wchar_t));
    if (!::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                          reinterpret_cast<LPWSTR>(&codePage), chars)) {
        return CP_ACP;
    }
    // Locales without an ANSI code page of their own answer 0, the system's.
    return codePage == CP_ACP ? ::GetACP() : codePage;
}

bool ReadPictureList(const wchar_t* fileName, std::vector<std::wstring>& pictures)
{
    if (fileName == nullptr) return false;
    try {
        std::string bytes;
        if (!ReadWholeFile(fileName, bytes)) return false;

        unsigned codePage = ListFileCodePage();
        if (bytes.compare(0, kUtf8BomBytes, kUtf8Bom) == 0) {
            bytes.erase(0, kUtf8BomBytes);
            codePage = CP_UTF8;
        }
        std::vector<std::wstring> entries;
        DecodeLines(codePage, SplitListLines(bytes), entries);
        DropUnusableEntries(entries);
        pictures.swap(entries);
        return true;
    } catch (const std::bad_alloc&) {
        // A list too large for memory is treated like an unreadable one.
        return false;
    }
}

bool WritePictureList(const wchar_t* fileName, const std::vector<std::wstring>& pictures)
{
    if (fileName == nullptr) return false;
    try {
        std::string bytes;
        // UTF-8 too when the first path would begin with what reads as the UTF-8 mark.
        if (!EncodeList(ListFileCodePage(), pictures, bytes) || bytes.compare(0, kUtf8BomBytes, kUtf8Bom) == 0) {
            if (!EncodeList(CP_UTF8, pictures, bytes)) return false;
            bytes.insert(0, kUtf8Bom);
        }
        // Never write a list the reader would refuse.
        if (static_cast<LONGLONG>(bytes.size()) > kMaxListFileBytes) return false;
        const std::wstring tempName = std::wstring(fileName) + kTempSuffix;
        const bool replaced = WriteNewFile(tempName, bytes) &&
                              ::MoveFileExW(tempName.c_str(), fileName,
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!replaced) ::DeleteFileW(tempName.c_str());
        return replaced;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
