// The application object: fixes the language and runs the main dialog.
#pragma once

#include "editor/EditDlg.h"
#include "framework/Controls.h"
#include "framework/WinApp.h"

class CReminderApp : public CWinApp, public CEditHost {
public:
    CReminderApp();

    int UiLanguage = 0;                      // 0 English, nonzero Czech
    HWND m_hEditWnd = nullptr;               // the open record editor, if any
    CToolTipCtrl* m_pEditToolTip = nullptr;  // its tooltips, not owned

    BOOL InitInstance() override;
    BOOL ProcessMessageFilter(int code, MSG* msg) override;
    const char* FailureText(bool outOfMemory) const override;

    int EditLanguage() const override { return UiLanguage; }
    void RegisterEditor(HWND editWnd, CToolTipCtrl* toolTip) override
    {
        m_hEditWnd = editWnd;
        m_pEditToolTip = toolTip;
    }
};

CReminderApp* GetReminderApp();
