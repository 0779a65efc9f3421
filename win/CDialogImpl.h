#pragma once

#include "win/CWindowBase.h"

#include <windows.h>

// Base of our dialogs, each made from its template in the resources. The
// object is bound at WM_INITDIALOG and sees every message before the dialog
// manager, which does the default processing of what it passes on.
class CDialogImpl : public CWindowBase {
public:
    INT_PTR DoModal(HWND owner);
    void EndDialog(INT_PTR result);

    // Modeless, for tests that drive the dialog themselves; the id it ended
    // with is kept for them.
    HWND CreateForTesting(HWND owner);
    INT_PTR GetResultForTesting() const { return result; }

protected:
    explicit CDialogImpl(UINT templateId) : CWindowBase(true), templateId(templateId) {}

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The dialog manager then focuses the first tab stop.
    virtual void OnInitDialog() {}
    // A command other than OK and Cancel, by id whatever its notification
    // code; true when the dialog acted on it.
    virtual bool OnCommand(int) { return false; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // OK, Cancel or OnCommand; true when the dialog acted on the command.
    bool RunCommand(int id);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT templateId;
    bool modal = false;
    INT_PTR result = 0;
};
