#include "bench/BareLimits.h"

#include "resources/resource.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

bool IsPictureName(const wchar_t* name)
{
    static const wchar_t* const extensions[] = {L".jpg", L".jpeg", L".bmp", L".png", L".gif"};
    const wchar_t* extension = ::PathFindExtensionW(name);
    for (const wchar_t* picture : extensions) {
        if (_wcsicmp(extension, picture) == 0) return true;
    }
    return false;
}

}  // namespace

bool BareScan(const std::wstring& folder, std::vector<std::wstring>& paths)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        if (IsPictureName(data.cFileName)) paths.push_back(folder + L"\\" + data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return true;
}

namespace {

bool WriteFlushed(const std::wstring& file, const std::vector<std::wstring>& paths)
{
    size_t chars = 0;
    for (const std::wstring& path : paths) chars += path.size() + 2;
    std::wstring text;
    text.reserve(chars);
    for (const std::wstring& path : paths) {
        text += path;
        text += L"\r\n";
    }

    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, &bytes[0], size, nullptr, nullptr);

    HANDLE out = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && ::FlushFileBuffers(out);
    ::CloseHandle(out);
    return ok && written == bytes.size();
}

}  // namespace

bool BareSave(const std::wstring& file, const std::vector<std::wstring>& paths)
{
    const std::wstring temporary = file + L".tmp";
    return WriteFlushed(temporary, paths) &&
           ::MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool BareLoad(const std::wstring& file, std::vector<std::wstring>& paths)
{
    HANDLE in = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE) return false;
    std::string bytes(::GetFileSize(in, nullptr), '\0');
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ::ReadFile(in, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(in);
    if (!ok) return false;

    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, &text[0], length);

    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        paths.emplace_back(text, start, end - start);
        start = end + 2;
    }
    return true;
}

namespace {

NOTIFYICONDATAW TrayIcon(HWND window)
{
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = window;
    icon.uID = IDR_TRAYMENU;
    return icon;
}

}  // namespace

bool BareAddIcon(HWND window, const wchar_t* tip)
{
    NOTIFYICONDATAW icon = TrayIcon(window);
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = WM_APP;
    icon.hIcon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PLAYING), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR | LR_SHARED));
    ::lstrcpynW(icon.szTip, tip, ARRAYSIZE(icon.szTip));
    return ::Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
}

void BareRemoveIcon(HWND window)
{
    NOTIFYICONDATAW icon = TrayIcon(window);
    ::Shell_NotifyIconW(NIM_DELETE, &icon);
}

bool IconInTray(HWND window)
{
    NOTIFYICONDATAW icon = TrayIcon(window);
    return ::Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}
