#include "settings/BrowseForFolder.h"

#include "win/CenterDialog.h"
#include "win/ComPtr.h"
#include "win/PathChars.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <memory>
#include <string>

namespace {

struct CoTaskMemFreer {
    void operator()(void* memory) const { ::CoTaskMemFree(memory); }
};
using UniqueIdList = std::unique_ptr<ITEMIDLIST, CoTaskMemFreer>;
using UniqueCoString = std::unique_ptr<wchar_t, CoTaskMemFreer>;

// The item's parsing name, which for a file-system folder is its full path.
std::wstring ParsingName(PCIDLIST_ABSOLUTE item)
{
    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Put()))) return std::wstring();
    STRRET name = {};
    if (FAILED(desktop->GetDisplayNameOf(item, SHGDN_FORPARSING, &name))) return std::wstring();
    wchar_t* converted = nullptr;
    if (FAILED(::StrRetToStrW(&name, item, &converted))) return std::wstring();
    const UniqueCoString owner(converted);
    return converted;
}

// Selects the first folder, centres the picker on the desktop and shows the
// selected folder's path as the status text.
int CALLBACK BrowseCallback(HWND picker, UINT msg, LPARAM lParam, LPARAM data)
{
    if (msg == BFFM_INITIALIZED) {
        const auto* first = reinterpret_cast<const wchar_t*>(data);
        if (first != nullptr && first[0] != L'\0') ::SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, data);
        CenterDialog(picker, ::GetDesktopWindow());
    } else if (msg == BFFM_SELCHANGED) {
        wchar_t path[kPathChars] = {};
        if (::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) {
            ::SendMessageW(picker, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
        }
    }
    return 0;
}

}  // namespace

bool BrowseForFolder(wchar_t* buffer, HWND owner, const wchar_t* title, UINT flags)
{
    if (buffer == nullptr) return false;
    // The buffer is emptied before the answer goes in, so the first selection needs a copy.
    const std::wstring first = buffer;
    wchar_t displayName[kPathChars] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = flags;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(first.c_str());

    const UniqueIdList chosen(::SHBrowseForFolderW(&info));
    buffer[0] = L'\0';
    if (chosen) ::lstrcpynW(buffer, ParsingName(chosen.get()).c_str(), static_cast<int>(kPathChars));
    return buffer[0] != L'\0';
}
