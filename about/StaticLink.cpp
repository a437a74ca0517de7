#include "about/StaticLink.h"

#include <windows.h>

#include <shellapi.h>

#include "framework/WinApp.h"
#include "records/Text.h"
#include "res/resource.h"

const COLORREF CStaticLink::s_unvisitedColor = kLinkUnvisitedColor;
const COLORREF CStaticLink::s_visitedColor = kLinkVisitedColor;
HCURSOR CStaticLink::s_linkCursor = nullptr;
BOOL CStaticLink::s_cursorFallbackTried = FALSE;

namespace {

// The link's effects on the system, for the portable click rules.
class CLinkShell : public ILinkShell {
public:
    explicit CLinkShell(CWnd& control) : m_control(control) {}

    std::string WindowText() override { return m_control.GetWindowText(); }

    uintptr_t Open(const std::string& target) override
    {
        HINSTANCE result =
            ::ShellExecuteW(nullptr, L"open", tolvari::Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return reinterpret_cast<uintptr_t>(result);
    }

    void Beep() override { ::MessageBeep(0); }
    void Repaint() override { ::InvalidateRect(m_control.m_hWnd, nullptr, TRUE); }

private:
    CWnd& m_control;
};

// The help viewer of the system carries a hand cursor; a private copy of it
// stays valid after the module is released.
HCURSOR LoadFallbackCursor()
{
    wchar_t path[MAX_PATH + 16] = L"";
    const UINT length = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    wcscat(path, L"\\winhlp32.exe");
    HMODULE module = ::LoadLibraryW(path);
    if (!module)
        return nullptr;
    HCURSOR cursor = nullptr;
    if (HCURSOR shared = ::LoadCursorW(module, MAKEINTRESOURCEW(106)))
        cursor = static_cast<HCURSOR>(::CopyIcon(shared));
    ::FreeLibrary(module);
    return cursor;
}

}  // namespace

CStaticLink::CStaticLink(const char* target, BOOL deleteOnDestroy) : m_link(target), m_deleteOnDestroy(deleteOnDestroy)
{
    // Loaded again by every link; a shared resource cursor, so nothing leaks.
    CWinApp* app = AfxGetApp();
    HINSTANCE instance = app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleW(nullptr);
    s_linkCursor = ::LoadCursorW(instance, MAKEINTRESOURCEW(IDC_LINK_HAND));
}

CStaticLink::~CStaticLink()
{
    // A control that outlives its link must not keep a font deleted with it.
    if (m_underlineFont.GetSafeHandle() && m_hWnd && ::IsWindow(m_hWnd) &&
        reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) == m_underlineFont.GetSafeHandle())
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_hPlainFont), FALSE);
}

MessageMap CStaticLink::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        MapMessage(WM_NCHITTEST, &CStaticLink::OnNcHitTest),
        MapMessage(WM_REFLECT_BASE + WM_CTLCOLORSTATIC, &CStaticLink::CtlColor),
        MapMessage(WM_LBUTTONDOWN, &CStaticLink::OnLButtonDown),
        MapMessage(WM_SETCURSOR, &CStaticLink::OnSetCursor),
    };
    return MakeMessageMap(entries);
}

void CStaticLink::PostNcDestroy()
{
    if (m_deleteOnDestroy)
        delete this;
}

// A static lets the mouse fall through to its parent; a link takes it over
// its whole rectangle, text or not.
LRESULT CStaticLink::OnNcHitTest(WPARAM, LPARAM)
{
    return HTCLIENT;
}

LRESULT CStaticLink::CtlColor(WPARAM wParam, LPARAM)
{
    // Icons, bitmaps and no-prefix texts are drawn the usual way.
    if (CLinkRules::DeclinesColour(GetStyle()))
        return 0;
    if (!m_underlineFont.GetSafeHandle())
        CreateUnderlineFont();
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (m_underlineFont.GetSafeHandle())
        ::SelectObject(dc, m_underlineFont.GetSafeHandle());
    ::SetTextColor(dc, m_link.m_textColor);
    ::SetBkMode(dc, TRANSPARENT);
    // The text stands on the dialog's own background.
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

// Once per object: a later change of the control's font is not followed.
void CStaticLink::CreateUnderlineFont()
{
    m_hPlainFont = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HFONT font = m_hPlainFont;
    // A control without a font of its own draws like its dialog.
    if (!font)
        font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (!::GetObjectW(font, sizeof(lf), &lf))
        return;
    lf.lfUnderline = 1;
    if (!m_underlineFont.CreateFontIndirect(lf))
        return;
    // The static selects its own font after asking for the colours, so it is
    // given the underlined one too (without a redraw: it is painting now).
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_underlineFont.GetSafeHandle()), FALSE);
}

LRESULT CStaticLink::OnLButtonDown(WPARAM, LPARAM)
{
    CLinkShell shell(*this);
    m_link.OnClick(shell);
    return 0;
}

LRESULT CStaticLink::OnSetCursor(WPARAM, LPARAM)
{
    if (!s_linkCursor && !s_cursorFallbackTried) {
        s_linkCursor = LoadFallbackCursor();
        s_cursorFallbackTried = TRUE;
    }
    if (!s_linkCursor)
        return FALSE;  // the cursor stays what it was
    ::SetCursor(s_linkCursor);
    return TRUE;
}
