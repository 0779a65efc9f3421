#include "about/CAboutDlg.h"

#include "resources/resource.h"
#include "win/CenterDialog.h"

namespace {

constexpr wchar_t kMailScheme[] = L"mailto:";

}  // namespace

CAboutDlg::CAboutDlg(const LinkOpener& opener) : CDialogImpl(IDD_ABOUT), webLink(opener), mailLink(opener) {}

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
