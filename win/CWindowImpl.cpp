#include "win/CWindowImpl.h"

#include "win/ResourceInstance.h"
#include "win/TraceException.h"

// By now the derived part is gone, and with it its WM_DESTROY handling: the
// window's last messages must not reach it, so it is unbound first. A class
// whose WM_DESTROY matters calls DestroyWindowIfAlive in its own destructor.
CWindowImpl::~CWindowImpl()
{
    if (hwnd == nullptr || !::IsWindow(hwnd)) return;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
}

void CWindowImpl::DestroyWindowIfAlive()
{
    if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

bool CWindowImpl::RegisterWindowClass(WNDCLASSEXW wc)
{
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CWindowImpl::StaticWindowProc;
    if (wc.hInstance == nullptr) wc.hInstance = GetResourceInstance();

    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return true;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CWindowImpl::CreateFromClass(const wchar_t* className, HWND parent, const wchar_t* caption, DWORD style,
                                  DWORD exStyle, HMENU menu)
{
    return ::CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, parent, menu, GetResourceInstance(), this);
}

LRESULT CWindowImpl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowImpl::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* bound = static_cast<CWindowImpl*>(create->lpCreateParams);
        bound->hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bound));
    }

    auto* self = reinterpret_cast<CWindowImpl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's dispatcher.
        TraceCaughtException(hwnd, msg);
        result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd = nullptr;
        self->OnFinalMessage();
    }
    return result;
}
