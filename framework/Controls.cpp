#include "framework/Controls.h"

#include <cwctype>

#include "framework/WinApp.h"
#include "records/Text.h"

BOOL CFont::CreateFontIndirect(const LOGFONTW& lf)
{
    DeleteObject();
    m_hFont = ::CreateFontIndirectW(&lf);
    return m_hFont != nullptr;
}

void CFont::DeleteObject()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    m_hFont = nullptr;
}

CBitmapButton::~CBitmapButton()
{
    if (m_hUp)
        ::DeleteObject(m_hUp);
    if (m_hDown)
        ::DeleteObject(m_hDown);
}

MessageMap CBitmapButton::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        MapMessage(WM_REFLECT_BASE + WM_DRAWITEM, &CBitmapButton::OnDrawItem),
    };
    return MakeMessageMap(entries);
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent)
{
    // A button that DDX_Control has attached already is taken as it is.
    const bool attached = m_hWnd && m_hWnd == ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    if (!attached && !SubclassDlgItem(static_cast<int>(id), parent))
        return FALSE;
    std::wstring name;
    for (wchar_t c : tolvari::Widen(GetWindowText()))
        name += static_cast<wchar_t>(std::towupper(c));
    HINSTANCE instance = AfxGetApp()->m_hInstance;
    m_hUp = static_cast<HBITMAP>(::LoadImageW(instance, (name + L"U").c_str(), IMAGE_BITMAP, 0, 0, 0));
    m_hDown = static_cast<HBITMAP>(::LoadImageW(instance, (name + L"D").c_str(), IMAGE_BITMAP, 0, 0, 0));
    if (!m_hUp)
        return FALSE;
    BITMAP bm = {};
    ::GetObjectW(m_hUp, sizeof(bm), &bm);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

LRESULT CBitmapButton::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    HBITMAP picture = (dis->itemState & ODS_SELECTED) && m_hDown ? m_hDown : m_hUp;
    if (!picture)
        return TRUE;
    HDC memory = ::CreateCompatibleDC(dis->hDC);
    HGDIOBJ old = ::SelectObject(memory, picture);
    BITMAP bm = {};
    ::GetObjectW(picture, sizeof(bm), &bm);
    ::BitBlt(dis->hDC, dis->rcItem.left, dis->rcItem.top, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return TRUE;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    HWND hwnd =
        ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, parent->m_hWnd, nullptr, AfxGetApp()->m_hInstance, nullptr);
    m_hWnd = hwnd;
    return hwnd != nullptr;
}

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, const std::string& cp1250Text)
{
    std::wstring text = tolvari::Widen(cp1250Text);
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;  // the tool is the whole control
    ti.hwnd = ::GetParent(tool->m_hWnd);
    ti.uId = reinterpret_cast<UINT_PTR>(tool->m_hWnd);
    ti.hinst = nullptr;
    ti.lpszText = &text[0];
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::Activate(BOOL activate)
{
    ::SendMessageW(m_hWnd, TTM_ACTIVATE, static_cast<WPARAM>(activate), 0);
}

void CToolTipCtrl::RelayEvent(MSG* msg)
{
    ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}
