#pragma once

#include <windows.h>

#include <string>

// A window handle and the calls made on it. It owns nothing: the window lives
// as long as whoever made it keeps it, whatever happens to this reference, so
// it can be copied and handed around freely.
class CWindow {
public:
    CWindow() = default;
    // Any handle is a window reference; the conversion is meant to be quiet.
    CWindow(HWND window) : hwnd(window) {}

    HWND GetHandle() const { return hwnd; }
    operator HWND() const { return hwnd; }
    bool IsAlive() const { return hwnd != nullptr && ::IsWindow(hwnd) != FALSE; }

    CWindow GetParent() const { return ::GetParent(hwnd); }
    CWindow GetItem(int id) const { return ::GetDlgItem(hwnd, id); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(hwnd, msg, wParam, lParam);
    }
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(hwnd, msg, wParam, lParam) != FALSE;
    }

    std::wstring GetText() const;
    std::wstring GetWindowClass() const;
    bool Destroy() const { return ::DestroyWindow(hwnd) != FALSE; }

protected:
    HWND hwnd = nullptr;
};
