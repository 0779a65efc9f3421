#include "win/CDialogImpl.h"

#include "win/ResourceInstance.h"

namespace {
// What DoModal answers for a dialog whose object could not be bound.
constexpr INT_PTR kNotBound = -1;
}  // namespace

INT_PTR CDialogImpl::DoModal(HWND owner)
{
    modal = true;
    result = ::DialogBoxParamW(GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner, &CDialogImpl::DialogProc,
                               reinterpret_cast<LPARAM>(this));
    return result;
}

HWND CDialogImpl::CreateForTesting(HWND owner)
{
    modal = false;
    return ::CreateDialogParamW(GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner, &CDialogImpl::DialogProc,
                                reinterpret_cast<LPARAM>(this));
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

LRESULT CDialogImpl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        if (RunCommand(LOWORD(wParam))) return 0;
        break;
    default:
        break;
    }
    return CWindowBase::HandleMessage(msg, wParam, lParam);
}

bool CDialogImpl::RunCommand(int id)
{
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return OnCommand(id);
    }
}

// The dialog manager's first message binds the object, which handles it
// there, once, as it handles every later message through its window. A
// message comes here otherwise only when the object passed it on, and then
// the dialog manager's own processing is what it wants. A dialog whose object
// cannot be bound would run with nothing to end it, so it ends at once.
INT_PTR CALLBACK CDialogImpl::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    auto* object = reinterpret_cast<CDialogImpl*>(lParam);
    if (object == nullptr || !object->Bind(hwnd)) {
        ::EndDialog(hwnd, kNotBound);
        return FALSE;
    }
    LRESULT result = FALSE;
    object->HandleGuarded(msg, wParam, lParam, result);
    return result;
}
