#pragma once

#include <windows.h>

// A window's device context (the screen's for a null window), released with
// the scope.
class ScopedDC {
public:
    explicit ScopedDC(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~ScopedDC()
    {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }

    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};
