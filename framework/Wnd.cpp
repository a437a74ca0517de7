#include "framework/Wnd.h"

#include "framework/WinApp.h"
#include "records/Text.h"

namespace {
const wchar_t kObjectProp[] = L"CWnd.this";
}

CWnd::~CWnd()
{
    if (m_oldWndProc && ::IsWindow(m_hWnd))
        UnsubclassWindow();
}

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return tolvari::Narrow(text);
}

void CWnd::CenterWindow()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && (!::IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT area = monitor.rcWork;
    RECT over = area;
    if (owner)
        ::GetWindowRect(owner, &over);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    int x = (over.left + over.right) / 2 - width / 2;
    int y = (over.top + over.bottom) / 2 - height / 2;
    // Inside the work area; a window larger than it keeps its top-left corner there.
    x = x + width > area.right ? area.right - width : x;
    y = y + height > area.bottom ? area.bottom - height : y;
    x = x < area.left ? area.left : x;
    y = y < area.top ? area.top : y;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_oldWndProc)
        return FALSE;
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kObjectProp, this);
    m_oldWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
    return m_oldWndProc != nullptr;
}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent)
{
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (m_oldWndProc) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
        ::RemovePropW(hwnd, kObjectProp);
        m_oldWndProc = nullptr;
    }
    m_hWnd = nullptr;
    return hwnd;
}

CWnd* CWnd::FromHandleAttached(HWND hwnd)
{
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

bool CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const MessageMap map = GetMessageMap();
    for (size_t i = 0; i < map.count; ++i) {
        const MessageMapEntry& e = map.entries[i];
        if (e.message != message)
            continue;
        if (message == WM_COMMAND) {
            const UINT id = LOWORD(wParam);
            if (HIWORD(wParam) != e.code || id < e.idFirst || id > e.idLast)
                continue;
        }
        m_bDefaultRequested = false;
        *result = 0;
        if (e.command)
            (this->*e.command)();
        else if (e.handler)
            *result = (this->*e.handler)(wParam, lParam);
        else if (e.sysCommand)
            (this->*e.sysCommand)(static_cast<UINT>(wParam), lParam);
        return !m_bDefaultRequested;
    }
    return false;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DispatchToMap(WM_REFLECT_BASE + message, wParam, lParam, result);
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        return false;
    }
    CWnd* target = FromHandleAttached(child);
    return target && target != this && target->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* self = FromHandleAttached(hwnd);
    if (!self)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    WNDPROC old = self->m_oldWndProc;
    if (message == WM_NCDESTROY) {
        self->UnsubclassWindow();
        LRESULT r = ::CallWindowProcW(old, hwnd, message, wParam, lParam);
        self->PostNcDestroy();
        return r;
    }
    LRESULT result = 0;
    try {
        if (self->DispatchToMap(message, wParam, lParam, &result))
            return result;
    } catch (...) {
        // Nothing may unwind through the system's window procedure.
        AfxFailureEscaped();
        return 0;
    }
    return ::CallWindowProcW(old, hwnd, message, wParam, lParam);
}
