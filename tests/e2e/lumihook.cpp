// Loaded into the running program by lumidriver's "watch": logs every message
// that reaches a window of class "lumivane", one line each, to lumihook.log
// beside this library. What the frame received is then plain to a script.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE g_self = nullptr;
constexpr int kTextChars = 128;
constexpr int kLineChars = 512;

bool IsFrame(HWND window)
{
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    return lstrcmpW(name, L"lumivane") == 0;
}

std::wstring LogPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(g_self, path, MAX_PATH);
    std::wstring text(path);
    return text.substr(0, text.find_last_of(L'\\') + 1) + L"lumihook.log";
}

void Append(const std::wstring& line)
{
    char utf8[kLineChars * 3];
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes <= 1) return;
    utf8[bytes - 1] = '\n';
    HANDLE file = ::CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, utf8, static_cast<DWORD>(bytes), &written, nullptr);
    ::CloseHandle(file);
}

// A popup as the user sees it: how many items, the default, the first one.
void LogMenu(HMENU popup)
{
    wchar_t text[kTextChars] = {};
    ::GetMenuStringW(popup, 0, text, kTextChars, MF_BYPOSITION);
    wchar_t line[kLineChars];
    swprintf(line, kLineChars, L"menu items=%d default=%d first=%u text=%ls", ::GetMenuItemCount(popup),
             static_cast<int>(::GetMenuDefaultItem(popup, TRUE, 0)), ::GetMenuItemID(popup, 0), text);
    Append(line);
}

// Where each item of the open popup lies on the screen, once the menu waits
// for the user, so a script can click an item by its position.
HMENU g_popup = nullptr;

void LogMenuItems()
{
    if (g_popup == nullptr) return;
    for (int i = 0; i < ::GetMenuItemCount(g_popup); ++i) {
        RECT rect = {};
        wchar_t text[kTextChars] = {};
        ::GetMenuItemRect(nullptr, g_popup, i, &rect);
        ::GetMenuStringW(g_popup, i, text, kTextChars, MF_BYPOSITION);
        wchar_t line[kLineChars];
        swprintf(line, kLineChars, L"item %d %u %ld %ld %ld %ld %ls", i, ::GetMenuItemID(g_popup, i), rect.left,
                 rect.top, rect.right, rect.bottom, text);
        Append(line);
    }
    g_popup = nullptr;
}

void LogMessage(const wchar_t* how, UINT msg, WPARAM wParam, LPARAM lParam)
{
    wchar_t line[kLineChars];
    swprintf(line, kLineChars, L"%ls 0x%04X %u %ld", how, msg, static_cast<unsigned>(wParam),
             static_cast<long>(lParam));
    Append(line);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK LumiCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsFrame(sent->hwnd)) {
            LogMessage(L"sent", sent->message, sent->wParam, sent->lParam);
            if (sent->message == WM_INITMENUPOPUP) {
                g_popup = reinterpret_cast<HMENU>(sent->wParam);
                LogMenu(g_popup);
            }
            if (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU) LogMenuItems();
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK LumiGetMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const auto* posted = reinterpret_cast<const MSG*>(lParam);
        if (posted->hwnd != nullptr && IsFrame(posted->hwnd)) {
            LogMessage(L"posted", posted->message, posted->wParam, posted->lParam);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_self = instance;
    return TRUE;
}
