#include "win/CWindowImpl.h"

#include "win/ResourceInstance.h"

bool CWindowImpl::RegisterWindowClass(WNDCLASSEXW wc)
{
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CWindowImpl::ClassWindowProc;
    if (wc.hInstance == nullptr) wc.hInstance = GetResourceInstance();

    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return true;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CWindowImpl::CreateFromClass(const wchar_t* className, HWND parent, const wchar_t* caption, DWORD style,
                                  DWORD exStyle)
{
    return ::CreateWindowExW(exStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, parent, nullptr, GetResourceInstance(), this);
}

// Binds the object at the window's first message. From then on every message
// goes through the object first and comes here only for default processing;
// a window that cannot be bound is not made at all.
LRESULT CALLBACK CWindowImpl::ClassWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* object = static_cast<CWindowImpl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (object == nullptr || !object->Bind(hwnd)) return FALSE;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}
