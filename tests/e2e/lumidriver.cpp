// Drives the running program from inside its Wine prefix, for the end-to-end
// scripts. Every command is bounded in time; the exit code says how it went:
// 0 done, 2 timed out or not found, 3 bad use or a failed call.
//
//   lumidriver wait-window MS      until a "lumivane" window exists and its loop is idle
//   lumidriver wait-gone MS        until no "lumivane" window exists
//   lumidriver post MSG [W [L]]    posts a message (decimal or 0x hex) to the window
//   lumidriver send MSG [W [L]]    sends it and waits for the frame to handle it
//   lumidriver send-registered NAME   sends a registered message to the window, prints its id
//   lumidriver broadcast NAME      broadcasts a registered message, as a restarted shell does
//   lumidriver msgid NAME          prints the id of a registered message
//   lumidriver foreground          prints the foreground window and its class
//   lumidriver visibility          prints whether the window is visible (and minimized)
//   lumidriver menu-rect           prints the open popup menu's screen rectangle
//   lumidriver end-dialog [ID]     presses OK (or button ID) in the frame's open modal window
//   lumidriver dialog-text         prints the caption and the texts of the frame's open modal window
//   lumidriver tooltip             prints the text of the tooltip on show, if any
//   lumidriver close-window TEXT   closes the top-level windows whose title holds TEXT
//   lumidriver tray-delete         deletes the frame's tray icon, as a restarting shell loses it
//   lumidriver tray-point          prints "X Y", the middle of the newest tray icon's cell
//   lumidriver watch DLL MS        hooks the window's thread with DLL until it is gone or MS pass
//   lumidriver process-path        prints the executable path of the window's process
//   lumidriver record LOG ARGS...  appends ARGS as one UTF-8 line to LOG: a stand-in for the
//                                  program the shell opens a file with
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr int kDone = 0;
constexpr int kTimedOut = 2;
constexpr int kFailed = 3;
constexpr DWORD kPollMs = 50;
constexpr UINT kBroadcastTimeoutMs = 2000;
constexpr DWORD kInputIdleMs = 5000;
// Wine draws each tray icon in a cell this much wider than a small icon.
constexpr int kTrayCellBorder = 2;
constexpr int kTextChars = 1024;
constexpr UINT kTrayIconId = 201;

HWND FindFrame()
{
    return ::FindWindowW(L"lumivane", nullptr);
}

unsigned long Number(const char* text)
{
    return std::strtoul(text, nullptr, 0);
}

UINT Registered(const char* name)
{
    return ::RegisterWindowMessageA(name);
}

// Polls `done` until it holds or `ms` have passed.
template <typename Done>
bool WaitFor(DWORD ms, Done done)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= ms) return false;
        ::Sleep(kPollMs);
    }
    return true;
}

int WaitWindow(DWORD ms)
{
    if (!WaitFor(ms, [] { return FindFrame() != nullptr; })) return kTimedOut;
    HWND frame = FindFrame();
    DWORD pid = 0;
    ::GetWindowThreadProcessId(frame, &pid);
    if (HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        ::WaitForInputIdle(process, kInputIdleMs);
        ::CloseHandle(process);
    }
    std::printf("%p\n", static_cast<void*>(frame));
    return kDone;
}

int WaitGone(DWORD ms)
{
    return WaitFor(ms, [] { return FindFrame() == nullptr; }) ? kDone : kTimedOut;
}

// Wide text as UTF-8 on its own line: the console's conversion knows only the C locale.
void PrintLine(const wchar_t* text)
{
    char utf8[kTextChars * 3];
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    if (bytes > 0) std::printf("%s\n", utf8);
}

int Send(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND frame = FindFrame();
    if (frame == nullptr) return kTimedOut;
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(frame, msg, wParam, lParam, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result)) {
        return kFailed;
    }
    std::printf("%ld\n", static_cast<long>(result));
    return kDone;
}

HWND FrameModal()
{
    HWND frame = FindFrame();
    if (frame == nullptr) return nullptr;
    HWND popup = ::GetLastActivePopup(frame);
    return popup == frame ? nullptr : popup;
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM)
{
    wchar_t text[kTextChars] = {};
    ::SendMessageTimeoutW(child, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          kBroadcastTimeoutMs, nullptr);
    if (text[0] != L'\0') PrintLine(text);
    return TRUE;
}

int DialogText()
{
    HWND modal = FrameModal();
    if (modal == nullptr) return kTimedOut;
    wchar_t caption[kTextChars] = {};
    ::GetWindowTextW(modal, caption, kTextChars);
    PrintLine(caption);
    ::EnumChildWindows(modal, &PrintChildText, 0);
    return kDone;
}

BOOL CALLBACK PrintShownTip(HWND window, LPARAM found)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (lstrcmpiW(name, L"tooltips_class32") != 0 || !::IsWindowVisible(window)) return TRUE;
    wchar_t text[kTextChars] = {};
    ::SendMessageTimeoutW(window, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          kBroadcastTimeoutMs, nullptr);
    if (text[0] == L'\0') return TRUE;
    PrintLine(text);
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

int Tooltip()
{
    bool found = false;
    ::EnumWindows(&PrintShownTip, reinterpret_cast<LPARAM>(&found));
    return found ? kDone : kTimedOut;
}

struct CloseRequest {
    wchar_t text[kTextChars] = {};
    int closed = 0;
};

BOOL CALLBACK CloseIfNamed(HWND window, LPARAM param)
{
    auto* request = reinterpret_cast<CloseRequest*>(param);
    wchar_t title[kTextChars] = {};
    ::GetWindowTextW(window, title, kTextChars);
    if (::IsWindowVisible(window) && std::wcsstr(title, request->text) != nullptr) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ++request->closed;
    }
    return TRUE;
}

// The argument comes in the ANSI code page, which holds what the scripts name.
int CloseWindow(const char* text)
{
    CloseRequest request;
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, request.text, kTextChars);
    ::EnumWindows(&CloseIfNamed, reinterpret_cast<LPARAM>(&request));
    return request.closed > 0 ? kDone : kTimedOut;
}

int TrayDelete()
{
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = FindFrame();
    data.uID = kTrayIconId;
    if (data.hWnd == nullptr) return kTimedOut;
    return ::Shell_NotifyIconW(NIM_DELETE, &data) ? kDone : kFailed;
}

int Post(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND frame = FindFrame();
    if (frame == nullptr) return kTimedOut;
    return ::PostMessageW(frame, msg, wParam, lParam) ? kDone : kFailed;
}

int SendRegistered(const char* name)
{
    HWND frame = FindFrame();
    if (frame == nullptr) return kTimedOut;
    const UINT msg = Registered(name);
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(frame, msg, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result)) return kFailed;
    std::printf("0x%04X\n", msg);
    return kDone;
}

int Broadcast(const char* name)
{
    DWORD_PTR result = 0;
    const UINT msg = Registered(name);
    ::SendMessageTimeoutW(HWND_BROADCAST, msg, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result);
    std::printf("0x%04X\n", msg);
    return kDone;
}

int TrayPoint()
{
    HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT rect = {};
    if (tray == nullptr || !::GetWindowRect(tray, &rect)) return kTimedOut;
    const int cell = ::GetSystemMetrics(SM_CXSMICON) + 2 * kTrayCellBorder;
    std::printf("%ld %ld\n", rect.right - cell / 2, (rect.top + rect.bottom) / 2);
    return kDone;
}

int Watch(const char* dll, DWORD ms)
{
    if (!WaitFor(ms, [] { return FindFrame() != nullptr; })) return kTimedOut;
    HWND frame = FindFrame();
    const DWORD thread = ::GetWindowThreadProcessId(frame, nullptr);
    HMODULE module = ::LoadLibraryA(dll);
    if (module == nullptr) return kFailed;
    auto sent = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "LumiCallWndProc")));
    auto posted = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(module, "LumiGetMsgProc")));
    if (sent == nullptr || posted == nullptr) return kFailed;
    HHOOK sentHook = ::SetWindowsHookExW(WH_CALLWNDPROC, sent, module, thread);
    HHOOK postedHook = ::SetWindowsHookExW(WH_GETMESSAGE, posted, module, thread);
    if (sentHook == nullptr || postedHook == nullptr) return kFailed;
    std::printf("watching\n");
    std::fflush(stdout);
    WaitFor(ms, [frame] { return !::IsWindow(frame); });
    ::UnhookWindowsHookEx(postedHook);
    ::UnhookWindowsHookEx(sentHook);
    return kDone;
}

int Foreground()
{
    HWND window = ::GetForegroundWindow();
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    std::printf("%p %ls\n", static_cast<void*>(window), name);
    return kDone;
}

// "visible" or "hidden", and "iconic" when minimized.
int Visibility()
{
    HWND frame = FindFrame();
    if (frame == nullptr) return kTimedOut;
    std::printf("%s%s\n", ::IsWindowVisible(frame) ? "visible" : "hidden", ::IsIconic(frame) ? " iconic" : "");
    return kDone;
}

// The open popup menu, as "LEFT TOP RIGHT BOTTOM" in screen coordinates.
int MenuRect()
{
    HWND menu = ::FindWindowW(L"#32768", nullptr);
    RECT rect = {};
    if (menu == nullptr || !::IsWindowVisible(menu) || !::GetWindowRect(menu, &rect)) return kTimedOut;
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return kDone;
}

// The modal window the frame has open, closed with one of its buttons.
int EndDialog(WPARAM button)
{
    HWND popup = FrameModal();
    if (popup == nullptr) return kTimedOut;
    return ::PostMessageW(popup, WM_COMMAND, button, 0) ? kDone : kFailed;
}

int ProcessPath()
{
    HWND frame = FindFrame();
    if (frame == nullptr) return kTimedOut;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(frame, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr) return kFailed;
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const BOOL found = ::QueryFullProcessImageNameW(process, 0, path, &length);
    ::CloseHandle(process);
    if (!found) return kFailed;
    std::printf("%ls\n", path);
    return kDone;
}

// Wide arguments, so a path in any script reaches the log unchanged.
int Record()
{
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr) return kFailed;
    std::wstring line;
    for (int i = 3; i < count; ++i) line += (i > 3 ? L" " : L"") + std::wstring(args[i]);
    line += L"\n";
    FILE* log = count > 2 ? ::_wfopen(args[2], L"ab") : nullptr;
    ::LocalFree(args);
    if (log == nullptr) return kFailed;
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &bytes[0], size, nullptr, nullptr);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), log) == bytes.size();
    return std::fclose(log) == 0 && written ? kDone : kFailed;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: lumidriver wait-window|wait-gone|post|send|send-registered|broadcast|msgid|"
                 "foreground|visibility|menu-rect|end-dialog|dialog-text|tooltip|close-window|"
                 "tray-delete|tray-point|watch|process-path|record ...\n");
    return kFailed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const char* command = argv[1];
    const auto arg = [&](int i) { return i < argc ? argv[i] : "0"; };
    if (std::strcmp(command, "wait-window") == 0) return WaitWindow(Number(arg(2)));
    if (std::strcmp(command, "wait-gone") == 0) return WaitGone(Number(arg(2)));
    if (std::strcmp(command, "post") == 0 && argc >= 3) {
        return Post(Number(arg(2)), Number(arg(3)), static_cast<LPARAM>(Number(arg(4))));
    }
    if (std::strcmp(command, "send-registered") == 0 && argc >= 3) return SendRegistered(argv[2]);
    if (std::strcmp(command, "broadcast") == 0 && argc >= 3) return Broadcast(argv[2]);
    if (std::strcmp(command, "msgid") == 0 && argc >= 3) {
        std::printf("0x%04X\n", Registered(argv[2]));
        return kDone;
    }
    if (std::strcmp(command, "tray-point") == 0) return TrayPoint();
    if (std::strcmp(command, "foreground") == 0) return Foreground();
    if (std::strcmp(command, "menu-rect") == 0) return MenuRect();
    if (std::strcmp(command, "visibility") == 0) return Visibility();
    if (std::strcmp(command, "end-dialog") == 0) return EndDialog(argc >= 3 ? Number(argv[2]) : IDOK);
    if (std::strcmp(command, "dialog-text") == 0) return DialogText();
    if (std::strcmp(command, "tooltip") == 0) return Tooltip();
    if (std::strcmp(command, "tray-delete") == 0) return TrayDelete();
    if (std::strcmp(command, "close-window") == 0 && argc >= 3) return CloseWindow(argv[2]);
    if (std::strcmp(command, "send") == 0 && argc >= 3) {
        return Send(Number(arg(2)), Number(arg(3)), static_cast<LPARAM>(Number(arg(4))));
    }
    if (std::strcmp(command, "watch") == 0 && argc >= 4) return Watch(argv[2], Number(argv[3]));
    if (std::strcmp(command, "process-path") == 0) return ProcessPath();
    if (std::strcmp(command, "record") == 0 && argc >= 3) return Record();
    return Usage();
}
