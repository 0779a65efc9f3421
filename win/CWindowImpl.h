#pragma once

#include "win/CWindow.h"

#include <windows.h>

// Base of every window object of ours. The object is bound to its window at
// WM_NCCREATE and unbound at WM_NCDESTROY, so no message reaches an object
// after its window is gone. Derived classes look at their own messages in
// HandleMessage and pass the rest on to their base, which ends in
// DefWindowProcW.
class CWindowImpl : public CWindow {
public:
    CWindowImpl() = default;
    virtual ~CWindowImpl();

    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;

    // Fills in our window procedure and registers the class unless this
    // process has it already. False only when registration fails.
    static bool RegisterWindowClass(WNDCLASSEXW wc);

protected:
    // Creates a window of a class registered with RegisterWindowClass.
    HWND CreateFromClass(const wchar_t* className, HWND parent, const wchar_t* caption, DWORD style, DWORD exStyle,
                         HMENU menu = nullptr);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Destroys the window while the whole object still handles its messages.
    void DestroyWindowIfAlive();

    // Called once the window is gone; the object may not touch its window here.
    virtual void OnFinalMessage() {}

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
