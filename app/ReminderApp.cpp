#include "app/ReminderApp.h"

#include "app/TodayDlg.h"

namespace {
CReminderApp theApp;  // the one global object; everything else belongs to a dialog
}

CReminderApp* GetReminderApp()
{
    return &theApp;
}

CReminderApp::CReminderApp() : CWinApp(L"Tolvari") {}

BOOL CReminderApp::InitInstance()
{
    UiLanguage = 0;
    Enable3dControls();
    CTodayDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

BOOL CReminderApp::ProcessMessageFilter(int code, MSG* msg)
{
    // The editor's tooltips learn of the mouse only through this relay.
    if (m_hEditWnd && msg && (msg->hwnd == m_hEditWnd || ::IsChild(m_hEditWnd, msg->hwnd)) && m_pEditToolTip)
        m_pEditToolTip->RelayEvent(msg);
    return CWinApp::ProcessMessageFilter(code, msg);
}

const char* CReminderApp::FailureText(bool outOfMemory) const
{
    // The main window is the only one that is ever m_pMainWnd; without it no
    // change is pending: it is there before the first and after the last.
    const auto* today = static_cast<const CTodayDlg*>(m_pMainWnd);
    return UnexpectedFailureText(outOfMemory, today && today->UnsavedChanges, UiLanguage);
}
