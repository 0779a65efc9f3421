#include "engine/DesktopCover.h"

#include "win/PathChars.h"

#include <shlwapi.h>

namespace {

// Not in every SDK's headers; the value is fixed by the platform.
constexpr DWORD kDwmCloakedAttribute = 14;
const wchar_t kDwmLibrary[] = L"dwmapi.dll";

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// dwmapi.dll is missing on old systems and partly stubbed under Wine, so it
// is looked up rather than linked. By its full path: a bare name is searched
// in the program's folder first, where a portable copy may lie beside a
// planted DLL of that name.
DwmGetWindowAttributeFn LoadDwmGetWindowAttribute()
{
    wchar_t path[kPathChars] = {};
    const UINT length = ::GetSystemDirectoryW(path, static_cast<UINT>(kPathChars));
    if (length == 0 || length >= kPathChars || !::PathAppendW(path, kDwmLibrary)) return nullptr;
    HMODULE dwm = ::LoadLibraryW(path);
    if (dwm == nullptr) return nullptr;
    return reinterpret_cast<DwmGetWindowAttributeFn>(
        reinterpret_cast<void*>(::GetProcAddress(dwm, "DwmGetWindowAttribute")));
}

struct CoverSearch {
    CloakQuery isCloaked;
    bool found;
};

BOOL CALLBACK FindCoveringWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<CoverSearch*>(parameter);
    if (::IsZoomed(window) && ::IsWindowVisible(window) && !search->isCloaked(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool IsWindowCloaked(HWND window)
{
    static const DwmGetWindowAttributeFn getAttribute = LoadDwmGetWindowAttribute();
    if (getAttribute == nullptr) return false;
    DWORD cloaked = 0;
    if (FAILED(getAttribute(window, kDwmCloakedAttribute, &cloaked, sizeof(cloaked)))) return false;
    return cloaked != 0;
}

bool IsDesktopCovered(CloakQuery isCloaked)
{
    CoverSearch search = {isCloaked, false};
    ::EnumWindows(&FindCoveringWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
