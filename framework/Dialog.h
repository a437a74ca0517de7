// A modal dialog on a resource template, with data exchange.
#pragma once

#include "framework/Wnd.h"

class CDialog;

// The direction and outcome of one exchange between members and controls.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;  // true: controls -> members
    bool m_bFailed = false;   // a field was bad; later fields are left alone
    // Marks the exchange failed and puts the focus on the bad control.
    void Fail(HWND control);
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // The result EndDialog gave; -1 when the dialog could not be made or a
    // quit request (the program's end, or a failure: AfxFailureHasEscaped) ended it.
    INT_PTR DoModal();
    // Not ::EndDialog: DoModal runs its own modal loop (so that every message
    // passes the application's message filter), and this ends that loop.
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
    // Runs UpdateData(FALSE); TRUE puts focus on the first tab stop. A dialog
    // this does not move is centred afterwards (CWnd::CenterWindow).
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();      // ends the dialog with IDOK after a successful exchange
    virtual void OnCancel();  // ends the dialog with IDCANCEL

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bEnded = false;
    int m_nResult = -1;
    bool m_bLockNotify = false;  // control notifications raised by UpdateData are dropped
};
