#include "editor/EditDlg.h"

#include "app/ReminderApp.h"
#include "res/resource.h"

CEditDlg::CEditDlg(CWnd* parent)
    : CDialog(IDD_EDIT_DIALOG, parent), CEditRules(GetReminderApp()->UiLanguage)
{
}

CEditDlg::~CEditDlg() = default;
