#pragma once

#include "about/CHyperLink.h"
#include "win/CDialogImpl.h"

#include <windows.h>

// The about box: product name and version, a notice, and the web and mail
// addresses as live links. Centred over its owner, or on the work area when
// the owner is hidden, as the tray's hidden frame is.
class CAboutDlg : public CDialogImpl {
public:
    explicit CAboutDlg(const LinkOpener& opener = &CHyperLink::OpenWithShell);

    // Modal; the result is the id of the button that closed the box.
    INT_PTR DoModal(HWND owner);
    HWND Create(HWND owner);

    const CHyperLink& WebLink() const { return webLink; }
    const CHyperLink& MailLink() const { return mailLink; }

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnInitDialog();

    CHyperLink webLink;
    CHyperLink mailLink;
};
