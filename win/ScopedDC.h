#pragma once

#include <windows.h>

// A window's device context (the screen's for a null window), released with
// the scope.
class ScopedDC {
public:
    explicit ScopedDC(HWND window) : hwnd(window), dc(::GetDC(window)) {}
    ~ScopedDC()
    {
        if (dc) ::ReleaseDC(hwnd, dc);
    }

    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;

    HDC Get() const { return dc; }

private:
    HWND hwnd;
    HDC dc;
};
