#include "win/CWindowBase.h"

#include "win/TraceException.h"

#include <commctrl.h>

namespace {

// Each object subclasses under its own id, so two objects on one window never displace each other.
UINT_PTR SubclassId(const CWindowBase* object)
{
    return reinterpret_cast<UINT_PTR>(object);
}

}  // namespace

// The derived part is gone by now: the window's last messages must not reach
// it, so the object lets go before an owned window is destroyed.
CWindowBase::~CWindowBase()
{
    const HWND window = hwnd;
    Unbind();
    if (ownsWindow && window != nullptr) ::DestroyWindow(window);
}

bool CWindowBase::Bind(HWND window)
{
    if (window == nullptr || hwnd != nullptr) return false;
    if (!::SetWindowSubclass(window, &CWindowBase::WindowProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd = window;
    return true;
}

void CWindowBase::Unbind()
{
    if (hwnd == nullptr) return;
    ::RemoveWindowSubclass(hwnd, &CWindowBase::WindowProc, SubclassId(this));
    hwnd = nullptr;
}

LRESULT CWindowBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool CWindowBase::HandleGuarded(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    try {
        result = HandleMessage(msg, wParam, lParam);
        return true;
    } catch (...) {
        // Nothing may unwind into the system's dispatcher.
        TraceCaughtException(hwnd, msg);
        return false;
    }
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR object)
{
    auto* self = reinterpret_cast<CWindowBase*>(object);
    LRESULT result = 0;
    if (!self->HandleGuarded(msg, wParam, lParam, result)) result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) self->Unbind();
    return result;
}
