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
    CWindow(HWND hwnd) : hwnd_(hwnd) {}

    HWND GetHandle() const { return hwnd_; }
    operator HWND() const { return hwnd_; }
    bool IsAlive() const { return hwnd_ != nullptr && ::IsWindow(hwnd_) != FALSE; }

    CWindow GetParent() const { return ::GetParent(hwnd_); }
    CWindow GetItem(int id) const { return ::GetDlgItem(hwnd_, id); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(hwnd_, msg, wParam, lParam);
    }
    bool Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(hwnd_, msg, wParam, lParam) != FALSE;
    }

    std::wstring GetText() const;
    std::wstring GetWindowClass() const;
    bool Destroy() const { return ::DestroyWindow(hwnd_) != FALSE; }

protected:
    HWND hwnd_ = nullptr;
};
