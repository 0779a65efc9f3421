#include "win/CDialogImpl.h"

#include "win/ResourceInstance.h"

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

// Binds the object and sends WM_INITDIALOG on through the window, so that it
// reaches the object the way every later message does. A message comes here
// otherwise only when the object passed it on, and then the dialog manager's
// own processing is what it wants.
INT_PTR CALLBACK CDialogImpl::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    auto* object = reinterpret_cast<CDialogImpl*>(lParam);
    if (!object->Bind(hwnd)) return FALSE;
    return ::SendMessageW(hwnd, msg, wParam, lParam);
}
