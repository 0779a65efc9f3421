// The start-up limit: a trivial program with a hidden window and a tray icon
// that first reads the list file named on its command line, if any, as any
// program showing a cached list must. Ends when its window is closed.

#include "bench/BareLimits.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

namespace {

const wchar_t kClassName[] = L"LumivaneBareTray";
constexpr UINT kTrayMessage = WM_APP;

NOTIFYICONDATAW TrayIcon(HWND window)
{
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpynW(icon.szTip, kClassName, ARRAYSIZE(icon.szTip));
    return icon;
}

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        NOTIFYICONDATAW icon = TrayIcon(window);
        ::Shell_NotifyIconW(NIM_ADD, &icon);
    } else if (msg == WM_DESTROY) {
        NOTIFYICONDATAW icon = TrayIcon(window);
        ::Shell_NotifyIconW(NIM_DELETE, &icon);
        ::PostQuitMessage(1);
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    std::vector<std::wstring> pictures;
    if (__argc > 1) BareLoad(__wargv[1], pictures);
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
    return static_cast<int>(msg.wParam);
}
