// The About box: program, maker and two links, the web address and the
// e-mail address, which open through the shell.
#pragma once

#include "about/StaticLink.h"
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

    // Destroyed in reverse: the mail link first, then the web link.
    CStaticLink m_webLink;
    CStaticLink m_mailLink;
};
