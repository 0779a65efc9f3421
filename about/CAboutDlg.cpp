#include "about/CAboutDlg.h"

#include "about/CenterDialog.h"
#include "resources/resource.h"

namespace {

constexpr wchar_t kMailScheme[] = L"mailto:";

} // namespace

CAboutDlg::CAboutDlg(const LinkOpener& opener) : webLink_(opener), mailLink_(opener) {}

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
    webLink_.Attach(GetItem(IDC_WEB_LINK));
    mailLink_.Attach(GetItem(IDC_MAIL_LINK));
    // Only after Attach made the link fonts, so those stay underlined for hovering.
    webLink_.SetExtendedStyle(kLinkUnderlineHover, kLinkUnderlineHover);
    mailLink_.SetExtendedStyle(kLinkUnderlineHover, kLinkUnderlineHover);
    mailLink_.SetTarget(kMailScheme + mailLink_.GetLabel());
    CenterDialog(GetHandle(), GetParent());
}

bool CAboutDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE; // the dialog manager focuses the first tab stop, the OK button
        return true;
    }
    return CDialogImpl::HandleMessage(msg, wParam, lParam, result);
}
