#pragma once

#include "win/CWindow.h"

#include <windows.h>

// Base of every window object of ours: a window made from a class of ours, a
// dialog, or a control taken over. However the object came to its window, it
// is bound through the common controls' subclassing, so all of them share one
// window procedure, where the object is let go at WM_NCDESTROY. Every message
// reaches the object through HandleGuarded, the one place where an exception
// is stopped and traced. Derived classes look at their own messages in
// HandleMessage and pass the rest to their base, which ends in the window's
// own procedure.
class CWindowBase : public CWindow {
public:
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

protected:
    // An object that owns its window destroys it when it goes; a borrowed
    // window is only given back.
    explicit CWindowBase(bool ownsWindow) : ownsWindow(ownsWindow) {}
    virtual ~CWindowBase();

    // False when the window is missing or the object already has one.
    bool Bind(HWND window);
    // No message reaches the object after this. The base does it only once
    // the derived part is gone, so a class whose members its handler uses
    // calls it first in its own destructor.
    void Unbind();

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // HandleMessage behind the last line of defence: false when it threw,
    // which is traced, and the message is then left to default processing.
    bool HandleGuarded(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // A message that carries a pointer is trusted only when this thread sent
    // it: one sent from another thread, or another program, points into memory
    // that is not ours to read. A posted message passes too; the system posts
    // none of its own that carry pointers, and a private one is kept out of
    // the queue by whoever receives it.
    static bool IsSentByThisThread() { return ::InSendMessageEx(nullptr) == ISMEX_NOSEND; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR object);

    bool ownsWindow;
};
