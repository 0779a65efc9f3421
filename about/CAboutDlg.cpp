#include "about/CAboutDlg.h"

#include "about/CenterDialog.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kMailScheme[] = L"mailto:";

}  // namespace

CAboutDlg::CAboutDlg(const LinkOpener& opener) : webLink(opener), mailLink(opener) {}

INT_PTR CAboutDlg::DoModal(HWND owner)
{
    return CDialogImpl::DoModal(owner, IDD_ABOUT);
}

HWND CAboutDlg::Create(HWND owner)
{
    return CDialogImpl::Create(owner, IDD_ABOUT);
}

void CAboutDlg::OnInitDialog()
{
    webLink.Attach(GetItem(IDC_WEB_LINK));
    mailLink.Attach(GetItem(IDC_MAIL_LINK));
    // Only after Attach made the link fonts, so those stay underlined for hovering.
    webLink.SetExtendedStyle(kLinkUnderlineHover, kLinkUnderlineHover);
    mailLink.SetExtendedStyle(kLinkUnderlineHover, kLinkUnderlineHover);
    mailLink.SetTarget(kMailScheme + mailLink.GetLabel());
    CenterDialog(GetHandle(), GetParent());
}

bool CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& reply)
{
    if (msg == WM_INITDIALOG) {
        OnInitDialog();
        reply = TRUE;  // the dialog manager focuses the first tab stop, the OK button
        return true;
    }
    return CDialogImpl::HandleMessage(msg, wParam, lParam, reply);
}
