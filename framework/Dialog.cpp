#include "framework/Dialog.h"

#include "framework/WinApp.h"

void CDataExchange::Fail(HWND control)
{
    m_bFailed = true;
    if (control)
        ::SetFocus(control);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal()
{
    // Without a parent the dialog is owned by the main window, as long as that is usable.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWinApp* app = AfxGetApp();
    if (!owner && app && app->m_pMainWnd && app->m_pMainWnd != this)
        owner = app->m_pMainWnd->m_hWnd;
    if (owner && !::IsWindow(owner))
        owner = nullptr;

    m_bEnded = false;
    m_nResult = -1;
    HWND hwnd =
        ::CreateDialogParamW(app ? app->m_hInstance : ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                             owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return -1;

    const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    if (!m_bEnded)
        ::ShowWindow(hwnd, SW_SHOW);

    // Our own modal loop, so that every message passes the thread's message
    // filter and a quit request ends the dialog at once.
    MSG msg;
    while (!m_bEnded) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        if (::CallMsgFilterW(&msg, MSGF_DIALOGBOX))
            continue;
        if (!::IsDialogMessageW(hwnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Give the activation back to the owner before this window goes.
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == hwnd)
        ::SetActiveWindow(owner);
    ::DestroyWindow(hwnd);
    m_hWnd = nullptr;
    return m_nResult;
}

void CDialog::EndDialog(int result)
{
    m_nResult = result;
    m_bEnded = true;
    if (m_hWnd)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    const bool wasLocked = m_bLockNotify;
    m_bLockNotify = true;
    CDataExchange dx(this, saveAndValidate != FALSE);
    DoDataExchange(&dx);
    m_bLockNotify = wasLocked;
    return dx.m_bFailed ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the dialog manager; tell the user and end.
        AfxFailureEscaped();
        return FALSE;
    }
}

// The dialog procedure's return rules live here and nowhere else.
INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_INITDIALOG: {
        // A dialog its initialisation did not move opens centred, over its
        // owner or on the screen, not at the template's corner.
        RECT before, after;
        ::GetWindowRect(m_hWnd, &before);
        const BOOL focusDefault = OnInitDialog();
        if (::IsWindow(m_hWnd) && !(GetStyle() & WS_CHILD) && ::GetWindowRect(m_hWnd, &after) &&
            ::EqualRect(&before, &after))
            CenterWindow();
        return focusDefault;
    }

    case WM_COMMAND:
        // Notifications that our own exchange provoked never reach the handlers.
        if (lParam != 0 && m_bLockNotify)
            return TRUE;
        if (DispatchToMap(message, wParam, lParam, &result))
            return TRUE;
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                return TRUE;
            }
        }
        return FALSE;

    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
        // These answer with the brush itself, not through DWLP_MSGRESULT.
        if (ReflectToChild(message, wParam, lParam, &result) && result)
            return static_cast<INT_PTR>(result);
        if (DispatchToMap(message, wParam, lParam, &result))
            return static_cast<INT_PTR>(result);
        return FALSE;

    case WM_DRAWITEM:
        if (ReflectToChild(message, wParam, lParam, &result) || DispatchToMap(message, wParam, lParam, &result))
            return TRUE;
        return FALSE;

    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        if (DispatchToMap(message, wParam, lParam, &result))
            return static_cast<INT_PTR>(result);
        return FALSE;

    case WM_NCDESTROY:
        DispatchToMap(message, wParam, lParam, &result);
        PostNcDestroy();
        return FALSE;

    default:
        if (DispatchToMap(message, wParam, lParam, &result)) {
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
            return TRUE;
        }
        return FALSE;
    }
}
