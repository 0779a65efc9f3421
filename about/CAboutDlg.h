#pragma once

#include "about/CHyperLink.h"
#include "win/CDialogImpl.h"

#include <windows.h>

// The about box: product name and version, a notice, and the web and mail
// addresses as live links. Centred over its owner, or on the work area when
// the owner is hidden, as the tray's hidden frame is. Modal, its result is
// the id of the button that closed it.
class CAboutDlg : public CDialogImpl {
public:
    explicit CAboutDlg(const LinkOpener& opener = &CHyperLink::OpenWithShell);

    const CHyperLink& WebLinkForTesting() const { return webLink; }
    const CHyperLink& MailLinkForTesting() const { return mailLink; }

protected:
    void OnInitDialog() override;

private:
    CHyperLink webLink;
    CHyperLink mailLink;
};
