#pragma once

#include <windows.h>

// Selects a GDI object into a device context for one scope and puts the old
// one back. A null object selects nothing.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject()
    {
        if (old_) ::SelectObject(dc_, old_);
    }

    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
