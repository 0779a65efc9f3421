#include "settings/StartupShortcut.h"

#include "resources/resource.h"
#include "win/ComPtr.h"
#include "win/FileExists.h"
#include "win/PathChars.h"
#include "win/ResourceInstance.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

constexpr wchar_t kLinkExtension[] = L".lnk";

}  // namespace

std::wstring GetStartupShortcutPath()
{
    wchar_t path[kPathChars] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTUP, FALSE)) return std::wstring();
    const std::wstring fileName = LoadResString(IDS_PRODUCT) + kLinkExtension;
    if (!::PathAppendW(path, fileName.c_str())) return std::wstring();
    return path;
}

bool CreateShortcut(const wchar_t* linkPath, const wchar_t* targetPath)
{
    if (linkPath == nullptr || targetPath == nullptr) return false;
    wchar_t path[kPathChars] = {};
    ::lstrcpynW(path, linkPath, static_cast<int>(kPathChars));
    if (!::PathRenameExtensionW(path, kLinkExtension)) return false;

    ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Put())))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())))) return false;
    // A link saved without its target would start nothing, yet look like success.
    if (FAILED(link->SetPath(targetPath))) return false;
    return SUCCEEDED(file->Save(path, TRUE));
}

bool IsRunAtStartup()
{
    const std::wstring link = GetStartupShortcutPath();
    return !link.empty() && FileExists(link.c_str());
}

bool SetRunAtStartup(bool run)
{
    const std::wstring link = GetStartupShortcutPath();
    if (link.empty()) return false;
    if (run) {
        wchar_t exe[kPathChars] = {};
        const DWORD length = ::GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(kPathChars));
        if (length > 0 && length < kPathChars) CreateShortcut(link.c_str(), exe);
    } else {
        ::DeleteFileW(link.c_str());
    }
    return FileExists(link.c_str());
}
