// The start-up limit: the plainest tray program doing what Lumivane does when
// it starts with a cached list, in the same order, with the same imports
// (COM, the common controls) and resources: a hidden window; the last picture
// and the style from lumi.ini in Lumivane's data folder; the active desktop
// made; the list from wallpaper.txt beside lumi.ini; the picture after the
// last one set through the active desktop; an icon in the tray. Ends when its
// window is closed.

#include "bench/BareLimits.h"

#include <windows.h>
#include <commctrl.h>
#include <wininet.h>  // before <shlobj.h>, which declares IActiveDesktop only after it
#include <shlobj.h>
#include <shlwapi.h>

namespace {

const wchar_t kClassName[] = L"LumivaneBareTray";
const wchar_t kSection[] = L"GENERAL";

std::wstring DataFile(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, TRUE);
    ::PathAppendW(path, L"Lumivane");
    ::PathAppendW(path, name);
    return path;
}

// The picture after the last one shown, or the first when that one is not
// listed; returns its path, empty when nothing was set.
std::wstring ShowNextPicture()
{
    const std::wstring ini = DataFile(L"lumi.ini");
    wchar_t last[MAX_PATH] = {};
    ::GetPrivateProfileStringW(kSection, L"lastpic", L"", last, MAX_PATH, ini.c_str());
    WALLPAPEROPT options = {sizeof(options), ::GetPrivateProfileIntW(kSection, L"style", 0, ini.c_str())};
    IActiveDesktop* desktop = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveDesktop,
                                  reinterpret_cast<void**>(&desktop)))) {
        return L"";
    }
    std::vector<std::wstring> pictures;
    BareLoad(DataFile(L"wallpaper.txt"), pictures);

    std::wstring next;
    if (!pictures.empty()) {
        size_t shown = 0;
        while (shown < pictures.size() && pictures[shown] != last) ++shown;
        next = pictures[shown < pictures.size() ? (shown + 1) % pictures.size() : 0];
        desktop->SetWallpaper(next.c_str(), 0);
        desktop->SetWallpaperOptions(&options, 0);
        desktop->ApplyChanges(AD_APPLY_ALL);
    }
    desktop->Release();
    return next;
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        BareAddIcon(window, ::PathFindFileNameW(ShowNextPicture().c_str()));
    } else if (msg == WM_DESTROY) {
        BareRemoveIcon(window);
        ::PostQuitMessage(1);
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    ::CoInitialize(nullptr);
    if (::FindWindowW(kClassName, nullptr) != nullptr) return 1;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return 0;
    HWND window = ::CreateWindowExW(0, kClassName, kClassName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 0;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::CoUninitialize();
    return static_cast<int>(msg.wParam);
}
