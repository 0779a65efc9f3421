#pragma once

#include "win/CWindowBase.h"

#include <windows.h>

// Base of the windows we make from a class of our own. The object is bound
// at WM_NCCREATE and destroys its window when it goes; a class whose
// WM_DESTROY matters destroys the window in its own destructor, while the
// whole object still handles its messages.
class CWindowImpl : public CWindowBase {
public:
    CWindowImpl() : CWindowBase(true) {}

    // Fills in our window procedure and registers the class unless this
    // process has it already. False only when registration fails.
    static bool RegisterWindowClass(WNDCLASSEXW wc);

protected:
    // Creates a window of a class registered with RegisterWindowClass.
    HWND CreateFromClass(const wchar_t* className, HWND parent, const wchar_t* caption, DWORD style, DWORD exStyle);

private:
    static LRESULT CALLBACK ClassWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
