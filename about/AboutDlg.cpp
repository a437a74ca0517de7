#include "about/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_webLink(nullptr, FALSE), m_mailLink(nullptr, FALSE) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Both links take their targets from their own texts at the first click,
    // so every showing starts unvisited with the texts of the template.
    m_mailLink.m_link.m_target.clear();
    m_mailLink.SubclassDlgItem(IDC_ABOUT_MAIL, this);
    m_webLink.m_link.m_target.clear();
    m_webLink.SubclassDlgItem(IDC_ABOUT_WEB, this);
    return TRUE;  // the focus goes to OK, the only tab stop
}
