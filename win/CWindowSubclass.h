#pragma once

#include "win/CWindow.h"

#include <windows.h>

// Base of an object that takes over a window it did not create, such as a
// control from a dialog template, through the common controls' subclassing.
// The object is bound by Subclass and unbound at WM_NCDESTROY (or when the
// object goes first), so no message reaches an object that is gone. Derived
// classes look at their own messages in HandleMessage and pass the rest to
// their base, which ends in the window's own procedure.
class CWindowSubclass : public CWindow {
public:
    CWindowSubclass() = default;
    virtual ~CWindowSubclass();

    CWindowSubclass(const CWindowSubclass&) = delete;
    CWindowSubclass& operator=(const CWindowSubclass&) = delete;

protected:
    // False when the window is missing or the object already has one.
    bool Subclass(HWND hwnd);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // Called once the window is gone; the object may not touch its window here.
    virtual void OnFinalMessage() {}

    // For a derived destructor, so the window is let go before its members.
    void Unsubclass();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData);
};
