#include "engine/DesktopCover.h"

namespace {

// Not in every SDK's headers; the value is fixed by the platform.
constexpr DWORD kDwmCloakedAttribute = 14;

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// dwmapi.dll is missing on old systems and partly stubbed under Wine, so it
// is looked up rather than linked.
DwmGetWindowAttributeFn LoadDwmGetWindowAttribute()
{
    HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
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
