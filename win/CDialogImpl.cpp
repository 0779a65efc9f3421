#include "win/CDialogImpl.h"

#include "win/ResourceInstance.h"
#include "win/TraceException.h"

namespace {

// Messages whose handled result is the dialog procedure's own return value,
// not DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

// The derived part is gone by now: the window's last messages must not reach
// it, so it is unbound before the window goes.
CDialogImpl::~CDialogImpl()
{
    if (hwnd == nullptr || !::IsWindow(hwnd)) return;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    ::DestroyWindow(hwnd);
}

INT_PTR CDialogImpl::DoModal(HWND owner, UINT templateId)
{
    modal = true;
    result = ::DialogBoxParamW(GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner,
                               &CDialogImpl::StaticDialogProc, reinterpret_cast<LPARAM>(this));
    return result;
}

HWND CDialogImpl::Create(HWND owner, UINT templateId)
{
    modal = false;
    return ::CreateDialogParamW(GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner,
                                &CDialogImpl::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialogImpl::EndDialog(INT_PTR reply)
{
    result = reply;
    if (modal) {
        ::EndDialog(hwnd, reply);
    } else {
        ::DestroyWindow(hwnd);
    }
}

bool CDialogImpl::HandleMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& reply)
{
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(id);
            reply = 0;
            return true;
        }
    }
    return false;
}

INT_PTR CALLBACK CDialogImpl::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        auto* bound = reinterpret_cast<CDialogImpl*>(lParam);
        bound->hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }

    auto* self = reinterpret_cast<CDialogImpl*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->HandleMessage(msg, wParam, lParam, result);
    } catch (...) {
        // Nothing may unwind into the dialog manager.
        TraceCaughtException(hwnd, msg);
        handled = false;
    }

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd = nullptr;
    }

    if (!handled) return msg == WM_INITDIALOG ? TRUE : FALSE;
    if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
