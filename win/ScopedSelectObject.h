#pragma once

#include <windows.h>

// Selects a GDI object into a device context for one scope and puts the old
// one back. A null object selects nothing.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC context, HGDIOBJ object)
        : dc(context),
          old(object ? ::SelectObject(context, object) : nullptr)
    {}
    ~ScopedSelectObject()
    {
        if (old) ::SelectObject(dc, old);
    }

    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc;
    HGDIOBJ old;
};
