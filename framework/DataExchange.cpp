#include "framework/DataExchange.h"

#include <climits>
#include <cwchar>
#include <cwctype>

#include "framework/WinApp.h"
#include "records/Text.h"

namespace {

HWND Control(CDataExchange* pDX, int id)
{
    return ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
}

std::wstring ControlText(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

// Rewriting a field puts the caret back to its start. An unchanged text is
// left alone; a field the user is typing in gets the caret and selection
// back where the keystroke left them.
void SetControlText(HWND hwnd, const std::wstring& text)
{
    if (ControlText(hwnd) == text)
        return;
    const bool typing = ::GetFocus() == hwnd;
    DWORD start = 0, end = 0;
    if (typing)
        ::SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    ::SetWindowTextW(hwnd, text.c_str());
    if (typing)
        ::SendMessageW(hwnd, EM_SETSEL, start, end);
}

// A whole signed decimal number with optional surrounding blanks, within int.
bool ParseInt(const std::wstring& text, int& value)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    const size_t digitsStart = i;
    long long n = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        n = n * 10 + (text[i] - L'0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    if (i != text.size())
        return false;
    if (negative)
        n = -n;
    if (n < INT_MIN || n > INT_MAX)
        return false;
    value = static_cast<int>(n);
    return true;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hwnd = Control(pDX, id);
    if (pDX->m_bSaveAndValidate)
        value = tolvari::Narrow(ControlText(hwnd));
    else
        SetControlText(hwnd, tolvari::Widen(value));
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hwnd = Control(pDX, id);
    if (pDX->m_bSaveAndValidate) {
        int parsed = 0;
        if (!ParseInt(ControlText(hwnd), parsed)) {
            AfxMessageBox("Please enter an integer.", MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail(hwnd);
            return;
        }
        value = parsed;
    } else {
        SetControlText(hwnd, std::to_wstring(value));
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    if (pDX->m_bFailed)
        return;
    HWND hwnd = Control(pDX, id);
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(::SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        return;
    }
    // Windows clears the selection for an index outside the list, Wine keeps
    // the previous one; ask for no selection ourselves.
    const LRESULT count = ::SendMessageW(hwnd, CB_GETCOUNT, 0, 0);
    const bool inList = index >= 0 && index < count;
    ::SendMessageW(hwnd, CB_SETCURSEL, inList ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND dialog = pDX->m_pDlgWnd->m_hWnd;
    HWND hwnd = Control(pDX, firstId);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button up to the next control that starts a group.
    for (int i = 0; hwnd; ++i) {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = i;
        } else {
            ::SendMessageW(hwnd, BM_SETCHECK, i == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        hwnd = ::GetWindow(hwnd, GW_HWNDNEXT);
        if (!hwnd || (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_GROUP) || ::GetParent(hwnd) != dialog)
            break;
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND hwnd = Control(pDX, id);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(hwnd, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (pDX->m_bFailed || control.m_hWnd)
        return;
    control.SubclassDlgItem(id, pDX->m_pDlgWnd);
}
