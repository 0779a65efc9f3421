#pragma once

#include "win/CWindow.h"

#include <windows.h>

// Base of our dialogs, modal or modeless, made from a template in the
// resources. The object is bound at WM_INITDIALOG and unbound at
// WM_NCDESTROY. HandleMessage returns true for a message it handled and
// puts the message's result into `result`.
class CDialogImpl : public CWindow {
public:
    CDialogImpl() = default;
    virtual ~CDialogImpl();

    CDialogImpl(const CDialogImpl&) = delete;
    CDialogImpl& operator=(const CDialogImpl&) = delete;

    INT_PTR DoModal(HWND owner, UINT templateId);

    // Modeless creation, for callers (tests among them) that drive the dialog themselves.
    HWND Create(HWND owner, UINT templateId);

    INT_PTR GetResult() const { return result; }

    void EndDialog(INT_PTR result);

protected:
    // The base ends the dialog on IDOK and IDCANCEL and handles nothing else.
    virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool modal = false;
    INT_PTR result = 0;
};
