#include "engine/PictureListFile.h"

#include "engine/PlaylistRules.h"
#include "win/AtomicFile.h"
#include "win/DecodeText.h"
#include "win/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <string_view>

namespace {

const wchar_t kLineEnd[] = L"\r\n";
constexpr size_t kLineEndChars = sizeof(kLineEnd) / sizeof(kLineEnd[0]) - 1;
// Above 100,000 full-length paths of two-byte characters; a larger file is not a list.
constexpr LONGLONG kMaxListFileBytes = 64LL * 1024 * 1024;
// The longest character of any code page, in bytes (UTF-8's four).
constexpr int kMaxCharBytes = 4;
constexpr wchar_t kLastAscii = 0x7F;
// Wide characters converted per call when saving: few calls, and a buffer
// that stays small however long the list.
constexpr size_t kBatchChars = 64 * 1024;

// The file's bytes stay in the system's file cache instead of a copy on our
// heap beside the entries made from them. A view outlives its file handle.
bool MapWholeFile(const wchar_t* fileName, UniqueView& view, std::string_view& bytes)
{
    UniqueFile file(::CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxListFileBytes) return false;
    bytes = std::string_view();
    // A mapping of zero bytes is refused; an empty file is simply an empty list.
    if (size.QuadPart == 0) return true;

    const UniqueKernelHandle mapping(::CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    view.Reset(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    bytes = std::string_view(static_cast<const char*>(view.Get()), static_cast<size_t>(size.QuadPart));
    return true;
}

// The longest start of the line that converts; the read ends at the first bad character.
std::wstring DecodeValidStart(unsigned codePage, std::string_view line)
{
    size_t good = 0;
    std::wstring ignored;
    while (good < line.size()) {
        int width = 1;
        const int widest = static_cast<int>(std::min<size_t>(kMaxCharBytes, line.size() - good));
        while (width <= widest && !DecodeText(codePage, line.substr(good, static_cast<size_t>(width)), true, ignored))
            ++width;
        if (width > widest) break;
        good += static_cast<size_t>(width);
    }
    std::wstring text;
    DecodeText(codePage, line.substr(0, good), true, text);
    return text;
}

// Appends the line as an entry; false when bytes the code page cannot convert
// end the read there, the text before them, if any, being the last entry.
bool DecodeLine(unsigned codePage, std::string_view line, std::vector<std::wstring>& entries)
{
    entries.emplace_back();
    std::wstring& text = entries.back();
    const bool whole = DecodeText(codePage, line, true, text);
    if (!whole) text = DecodeValidStart(codePage, line);
    const bool nothingRead = !whole && text.empty();
    // A line holding a NUL cannot name a file; a file cut by a power loss often ends in them.
    if (nothingRead || text.find(L'\0') != std::wstring::npos) entries.pop_back();
    return whole;
}

void DecodeLines(unsigned codePage, std::string_view bytes, std::vector<std::wstring>& entries)
{
    entries.reserve(CountListLines(bytes));
    std::string_view line;
    while (TakeListLine(bytes, line)) {
        if (!DecodeLine(codePage, line, entries)) return;
    }
}

bool IsAscii(const std::wstring& text)
{
    wchar_t bits = 0;
    for (wchar_t c : text) bits |= c;
    return bits <= kLastAscii;
}

// Appends the text in the code page; false when some character has no exact
// form there (no best-fit look-alikes, which would name another file). Every
// code page, UTF-8 too, holds ASCII as it is, one byte a character: such text
// needs no measuring call and no check. Other text is measured first and
// converted checked.
bool AppendEncoded(unsigned codePage, const std::wstring& text, std::string& bytes)
{
    if (text.empty()) return true;
    const bool utf8 = codePage == CP_UTF8;
    const bool ascii = IsAscii(text);
    const bool checked = !utf8 && !ascii;
    // A lone surrogate has no UTF-8 form; without the flag it would be written as U+FFFD.
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : checked ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = checked ? &usedDefault : nullptr;
    const int length = static_cast<int>(text.size());
    const int needed =
        ascii ? length : ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    const size_t start = bytes.size();
    bytes.resize(start + static_cast<size_t>(needed));
    const int written =
        ::WideCharToMultiByte(codePage, flags, text.data(), length, &bytes[start], needed, nullptr, usedDefaultOut);
    return written == needed && !usedDefault;
}

// Appends every path followed by a line end. The paths go through one small
// buffer a batch at a time, so the list is never held a second time as wide
// text, and a batch converts in one call.
bool AppendList(unsigned codePage, const std::vector<std::wstring>& pictures, std::string& bytes)
{
    size_t chars = 0;
    for (const std::wstring& path : pictures) chars += path.size() + kLineEndChars;
    // Exact when the list is ASCII, the least it can take otherwise.
    bytes.reserve(bytes.size() + chars);
    std::wstring batch;
    batch.reserve(kBatchChars);
    for (const std::wstring& path : pictures) {
        batch += path;
        batch.append(kLineEnd, kLineEndChars);
        if (batch.size() < kBatchChars) continue;
        if (!AppendEncoded(codePage, batch, bytes)) return false;
        batch.clear();
    }
    return AppendEncoded(codePage, batch, bytes);
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
        UniqueView view;
        std::string_view bytes;
        if (!MapWholeFile(fileName, view, bytes)) return false;

        unsigned codePage = ListFileCodePage();
        if (bytes.starts_with(kUtf8Bom)) {
            bytes.remove_prefix(kUtf8Bom.size());
            codePage = CP_UTF8;
        }
        std::vector<std::wstring> entries;
        DecodeLines(codePage, bytes, entries);
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
        if (!AppendList(ListFileCodePage(), pictures, bytes) || bytes.starts_with(kUtf8Bom)) {
            bytes.assign(kUtf8Bom);
            if (!AppendList(CP_UTF8, pictures, bytes)) return false;
        }
        // Never write a list the reader would refuse.
        if (static_cast<LONGLONG>(bytes.size()) > kMaxListFileBytes) return false;
        return ReplaceFileBytes(fileName, bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
}
