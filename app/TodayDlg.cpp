#include "app/TodayDlg.h"

#include <algorithm>

#include "about/AboutDlg.h"
#include "app/ReminderApp.h"
#include "app/Settings.h"
#include "editor/EditDlg.h"
#include "framework/DataExchange.h"
#include "records/Text.h"
#include "res/resource.h"

CTodayDlg::CTodayDlg(CWnd* parent)
    : CDialog(IDD_TOLVARI_DIALOG, parent),
      CTodayCore(GetReminderApp()->UiLanguage),
      m_hIcon(GetReminderApp()->LoadIcon(IDR_MAINFRAME))
{}

MessageMap CTodayDlg::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        MapSysCommand(&CTodayDlg::OnSysCommand),
        MapMessage(WM_PAINT, &CTodayDlg::OnPaint),
        MapMessage(WM_QUERYDRAGICON, &CTodayDlg::OnQueryDragIcon),
        MapCommand(IDC_TODAY_YESTERDAY, BN_CLICKED, &CTodayDlg::OnYesterday),
        MapCommand(IDC_TODAY_TOMORROW, BN_CLICKED, &CTodayDlg::OnTomorrow),
    };
    return MakeMessageMap(entries);
}

void CTodayDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_TODAY_DNES, m_showDnes);
    DDX_Text(pDX, IDC_TODAY_CALENDAR, m_showCalendar);
    DDX_Text(pDX, IDC_TODAY_BIRTHDAYS, m_showBirthdays);
    DDX_Text(pDX, IDC_TODAY_HOLIDAYS, m_showHolidays);
    DDX_Text(pDX, IDC_TODAY_NEXTDAYS, m_showNextDays);
}

BOOL CTodayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (HMENU sysMenu = ::GetSystemMenu(m_hWnd, FALSE)) {
        wchar_t about[128] = L"";
        wchar_t edit[128] = L"";
        HINSTANCE instance = GetReminderApp()->m_hInstance;
        ::LoadStringW(instance, IDS_ABOUTBOX, about, 128);
        ::LoadStringW(instance, IDS_EDITBOX, edit, 128);
        ::AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sysMenu, MF_STRING, IDM_EDITBOX, edit);
        ::AppendMenuW(sysMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
    }

    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_timeNow = std::time(nullptr);
    if (const std::tm* local = std::localtime(&m_timeNow))
        SetDateFromClock(*local);

    LoadIniFile();
    LoadFile();
    if (m_nCount == 0)
        return FALSE;

    // Fonts first, without a redraw (the window is not shown yet): an edit
    // control lays its text out again for a new font.
    const int dpi = ScreenDpi();
    CreateReportFont(m_font1, m_strFont1, m_strFace1, m_strSize1, dpi);
    CreateReportFont(m_font2, m_strFont2, m_strFace2, m_strSize2, dpi);
    const std::pair<int, HFONT> fonts[] = {
        {IDC_TODAY_DNES, m_font1},      {IDC_TODAY_CALENDAR, m_font1}, {IDC_TODAY_HOLIDAYS, m_font2},
        {IDC_TODAY_BIRTHDAYS, m_font2}, {IDC_TODAY_NEXTDAYS, m_font2},
    };
    for (const auto& f : fonts)
        ::SendMessageW(GetDlgItem(f.first), WM_SETFONT, reinterpret_cast<WPARAM>(f.second), FALSE);
    FindInfo();
    return TRUE;
}

int CTodayDlg::ScreenDpi() const
{
    int dpi = 96;
    if (HDC dc = ::GetDC(m_hWnd)) {
        dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(m_hWnd, dc);
    }
    return dpi;
}

// The dialog grows with the DPI (the program is DPI-aware), so must the texts in it.
void CTodayDlg::CreateReportFont(CFont& font, const std::string& face, const std::string& style,
                                 const std::string& size, int dpi)
{
    const FontDescription d = DescribeFont(face, style, size);
    LOGFONTW lf = {};
    lf.lfHeight = ScaleFontHeight(d.height, dpi);
    lf.lfWeight = d.weight;
    lf.lfItalic = d.italic ? 1 : 0;
    const std::wstring wideFace = tolvari::Widen(d.face);
    const size_t n = std::min(wideFace.size(), static_cast<size_t>(LF_FACESIZE - 1));
    std::copy_n(wideFace.begin(), n, lf.lfFaceName);
    font.CreateFontIndirect(lf);
}

void CTodayDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlg;
        dlg.DoModal();
    } else if (nID == IDM_EDITBOX) {
        RunEditor();
    } else {
        Default();
    }
}

// The editor changes the four columns in place; afterwards the whole list is
// written back and the report rebuilt for the day the editor was on.
void CTodayDlg::RunEditor()
{
    CEditDlg dlg(*GetReminderApp());
    dlg.m_nCount = m_nCount;
    dlg.m_nCurrent = CurrentRecord;
    dlg.m_pDay = &m_arrDay;
    dlg.m_pMonth = &m_arrMonth;
    dlg.m_pYear = &m_arrYear;
    dlg.m_pName = &m_arrName;
    // A quit request from elsewhere, or a window that could not be made, still
    // saves; only a failure escaped from the editor ends without saving, as
    // the list may be half changed.
    UnsavedChanges = true;
    EditorOpening();
    dlg.DoModal();
    if (AfxFailureHasEscaped())
        return;
    m_nCount = dlg.m_nCount;
    CurrentRecord = dlg.m_nCurrent;
    TakeEditorDate(dlg.m_nDayIndex, dlg.m_nMonthIndex);
    SaveFile();
    FindInfo();
}

void CTodayDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CTodayDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

void CTodayDlg::OnYesterday()
{
    PrevDay();
    FindInfo();
}

void CTodayDlg::OnTomorrow()
{
    NextDay();
    FindInfo();
}

void CTodayDlg::ShowError(const std::string& text)
{
    ShowErrorBox(text);
}

void CTodayDlg::RequestQuit()
{
    ::PostQuitMessage(0);
}

void CTodayDlg::ShowReport()
{
    UpdateData(FALSE);
}
