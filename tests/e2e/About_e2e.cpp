// The About box from the system menu: layout and texts, the two links
// (colour, underline, cursor, what the shell is asked to open) and the three
// ways to close it, none of which changes the main window or its data file.
#include "Driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::Eventually;
using e2e::TempDir;

constexpr int kWebLink = 1013, kMailLink = 1014;
constexpr COLORREF kUnvisited = RGB(0, 0, 220), kVisited = RGB(200, 0, 0);
const char kWebText[] = "www.example.org";
const char kMailText[] = "hi@example.org";
// The shell itself puts "http://" before an address that starts with "www".
const std::string kWebOpened = std::string("http://") + kWebText + "\n";
const std::string kMailOpened = std::string("mailto:") + kMailText + "\n";

// During a test the shell's link handler is this program, started as
// "tolvari_e2e.exe --record-open FILE TARGET": it appends TARGET to FILE and
// ends before any test runs, so no browser or mail program is started.
const bool g_recordedAndExited = [] {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv && argc == 4 && std::wstring(argv[1]) == L"--record-open") {
        HANDLE h = ::CreateFileW(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        const std::string line = e2e::ToCp1250(argv[3]) + "\n";
        DWORD written = 0;
        if (h != INVALID_HANDLE_VALUE) {
            ::WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            ::CloseHandle(h);
        }
        ::ExitProcess(written == line.size() ? 0 : 1);
    }
    if (argv)
        ::LocalFree(argv);
    return false;
}();

// Points the "open" command of the link schemes at a command line for the
// life of the object. Wine's shell reads these under HKEY_CLASSES_ROOT only.
class ShellHandlers {
public:
    explicit ShellHandlers(const std::wstring& command)
    {
        for (const wchar_t* scheme : {L"http", L"https", L"mailto"}) {
            const std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
            wchar_t value[1024] = L"";
            DWORD size = sizeof(value), type = REG_SZ;
            const bool existed = ::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr,
                                                RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, value,
                                                &size) == ERROR_SUCCESS;
            m_saved.push_back({key, existed, type, value});
            m_ok = Set(key, REG_SZ, command) && m_ok;
        }
    }
    ~ShellHandlers()
    {
        for (const Saved& s : m_saved)
            s.existed ? void(Set(s.key, s.type, s.value)) : void(::RegDeleteKeyW(HKEY_CLASSES_ROOT, s.key.c_str()));
    }
    bool Ok() const { return m_ok; }

private:
    struct Saved {
        std::wstring key;
        bool existed;
        DWORD type;
        std::wstring value;
    };
    static bool Set(const std::wstring& key, DWORD type, const std::wstring& value)
    {
        return ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, type, value.c_str(),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    std::vector<Saved> m_saved;
    bool m_ok = true;
};

// The control's pixels as the screen shows them: how many are in each link
// colour, and the longest run of one link colour in a row (the underline).
struct Look {
    int unvisited = 0, visited = 0, longestRow = 0;
};

Look LookAt(HWND control)
{
    Look look;
    RECT rc;
    ::GetClientRect(control, &rc);
    POINT origin = {0, 0};
    ::ClientToScreen(control, &origin);
    HDC screen = ::GetDC(nullptr);
    for (int y = 0; y < rc.bottom; ++y) {
        int run = 0;
        COLORREF last = CLR_INVALID;
        for (int x = 0; x < rc.right; ++x) {
            const COLORREF c = ::GetPixel(screen, origin.x + x, origin.y + y);
            const bool link = c == kUnvisited || c == kVisited;
            look.unvisited += c == kUnvisited;
            look.visited += c == kVisited;
            run = link ? (c == last ? run + 1 : 1) : 0;
            last = c;
            look.longestRow = std::max(look.longestRow, run);
        }
    }
    ::ReleaseDC(nullptr, screen);
    return look;
}

// Waits until the link is drawn in this colour only and underlined (longer
// than any stroke of a letter); the screen may be half painted for a moment.
::testing::AssertionResult DrawnAs(HWND link, COLORREF colour)
{
    Look look;
    const bool ok = Eventually([&] {
        look = LookAt(link);
        const bool blue = colour == kUnvisited;
        return (blue ? look.unvisited : look.visited) > 0 && (blue ? look.visited : look.unvisited) == 0 &&
               look.longestRow >= 40;
    });
    return (ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "blue " << look.unvisited << ", red " << look.visited << ", longest row " << look.longestRow;
}

// A left click delivered straight to the control, waiting until it is handled.
void ClickAt(HWND control)
{
    e2e::SendBounded(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    e2e::SendBounded(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// Real mouse input at a client point: the system hit-tests who gets it.
void MouseAt(HWND control, int x, int y, bool click = false)
{
    POINT p = {x, y};
    ::ClientToScreen(control, &p);
    INPUT in[3] = {};
    in[0].type = in[1].type = in[2].type = INPUT_MOUSE;
    in[0].mi.dx = MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in[0].mi.dy = MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(click ? 3 : 1, in, sizeof(INPUT));
}

HCURSOR CursorShown()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// Whether the control's text fits its client area in the dialog font as this
// process renders it; face is the typeface the system really chose.
bool Fits(HWND control, std::wstring* face = nullptr)
{
    HDC dc = ::GetDC(nullptr);
    HFONT font = ::CreateFontW(-::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t chosen[LF_FACESIZE] = L"";
    ::GetTextFaceW(dc, LF_FACESIZE, chosen);
    if (face)
        *face = chosen;
    RECT client, need;
    ::GetClientRect(control, &client);
    need = client;
    const UINT prefix = (::GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    ::DrawTextW(dc, App::WindowTextW(control).c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return need.right <= client.right && need.bottom <= client.bottom;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Today's name day, so that the main window shows a report.
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        char line[64];
        snprintf(line, sizeof(line), "[***CALENDAR***]\r\n%02d.%02d 0000 Karina\r\n", now.wDay, now.wMonth);
        ASSERT_TRUE(e2e::StartWith(m_app, m_dir, line));
    }

    // Opens the box through the system menu and waits until the links show.
    HWND Open(UINT command = 0x10)
    {
        HWND box = e2e::OpenBySysMenu(m_app, command, kMailLink);
        if (box)
            Eventually([&] {
                const Look look = LookAt(::GetDlgItem(box, kMailLink));
                return look.unvisited + look.visited > 0;
            });
        return box;
    }
    bool WaitClosed()
    {
        return Eventually([&] { return m_app.FindDialogWith(kMailLink) == nullptr; });
    }
    std::string Recorded() const { return m_dir.Read(L"opened.txt"); }
    std::wstring RecordCommand() const
    {
        wchar_t self[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        return L"\"" + std::wstring(self) + L"\" --record-open \"" + m_dir.File(L"opened.txt") + L"\" \"%1\"";
    }

    TempDir m_dir;
    App m_app;
};

// Controls in template order with their kinds, texts and pictures; blue
// underlined links and no link colour elsewhere; texts that fit.
TEST_F(AboutBox, LayoutTextsPicturesAndLinkLook)
{
    const struct {
        int id;
        const wchar_t* cls;
        LONG style;  // besides WS_CHILD | WS_VISIBLE
        const char* text;  // null: a picture
    } expected[] = {
        {-1, L"Static", SS_ICON, nullptr},
        {-1, L"Static", SS_CENTER | SS_NOPREFIX | WS_GROUP,
         "Tolvari Version 2.5.2\nDisplays todays anniversaries and birthdays."},
        {-1, L"Static", SS_CENTER | WS_GROUP, "Copyright (C) 2026 Tolvari Works"},
        {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, "OK"},
        {-1, L"Button", BS_GROUPBOX, "Information"},
        {-1, L"Static", SS_BITMAP, nullptr},
        {-1, L"Static", SS_LEFT | WS_GROUP, "Tolvari Works\nSmall tools for every day"},
        {kWebLink, L"Static", SS_LEFT | WS_GROUP, kWebText},
        {kMailLink, L"Static", SS_LEFT | WS_GROUP, kMailText},
        {-1, L"Static", SS_LEFT | WS_GROUP, "e-mail:"},
        {-1, L"Static", SS_LEFT | WS_GROUP, "If you like the program then send us an e-mail."},
    };
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(App::WindowTextW(box), L"About Tolvari");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), m_app.Main());
    std::wstring face;
    Fits(::GetDlgItem(box, kWebLink), &face);
    const bool layoutFont = _wcsicmp(face.c_str(), L"MS Sans Serif") == 0;
    HWND child = ::GetWindow(box, GW_CHILD);
    for (const auto& c : expected) {
        SCOPED_TRACE(c.text ? c.text : "picture");
        ASSERT_NE(child, nullptr);
        wchar_t cls[32] = L"";
        ::GetClassNameW(child, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, c.cls), 0);
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        EXPECT_EQ(style & ~(WS_CHILD | WS_VISIBLE), c.style);
        if (c.text) {
            EXPECT_EQ(e2e::ToCp1250(App::WindowTextW(child)), c.text);
        }
        if ((style & SS_TYPEMASK) == SS_BITMAP) {  // the maker's logo
            RECT r;
            ::GetClientRect(child, &r);
            EXPECT_EQ(r.right * 1000 + r.bottom, 103 * 1000 + 26);
            EXPECT_NE(e2e::SendBounded(child, STM_GETIMAGE, IMAGE_BITMAP), 0);
        } else if ((style & SS_TYPEMASK) == SS_ICON && c.cls[0] == L'S') {
            EXPECT_NE(e2e::SendBounded(child, STM_GETICON), 0);
        }
        const bool link = c.id == kWebLink || c.id == kMailLink;
        if (link) {
            EXPECT_TRUE(DrawnAs(child, kUnvisited));
        } else if (c.cls[0] == L'S') {  // the group box frames the links
            const Look look = LookAt(child);
            EXPECT_EQ(look.unvisited + look.visited, 0);
        }
        // Our own texts must fit whatever face stands in for the dialog font;
        // the rest only with the face the layout is made for.
        const bool own = c.id != -1 || (c.text && std::string(c.text).find("Tolvari Works") != std::string::npos);
        if (c.text && c.cls[0] == L'S' && (own || layoutFont)) {
            EXPECT_TRUE(Fits(child));
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than laid out";
    if (!layoutFont)
        std::printf("layout fit checked for own texts only: this Wine draws %s for MS Sans Serif\n",
                    e2e::ToCp1250(face).c_str());
    App::Click(box, IDOK);
}

// A click opens the link's target through the shell and turns it red, for
// good within this showing; the next showing starts blue again.
TEST_F(AboutBox, ClickedLinksOpenTheirTargetsAndTurnRed)
{
    ShellHandlers handlers(RecordCommand());
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    HWND web = ::GetDlgItem(box, kWebLink), mail = ::GetDlgItem(box, kMailLink);
    ClickAt(web);
    EXPECT_TRUE(Eventually([&] { return Recorded() == kWebOpened; })) << Recorded();
    EXPECT_TRUE(DrawnAs(web, kVisited));
    EXPECT_TRUE(DrawnAs(mail, kUnvisited));
    // An address with "@" opens as a mail link; the control keeps the bare text.
    ClickAt(mail);
    ClickAt(mail);
    EXPECT_TRUE(Eventually([&] { return Recorded() == kWebOpened + kMailOpened + kMailOpened; })) << Recorded();
    EXPECT_EQ(App::Text(box, kMailLink), kMailText);
    EXPECT_EQ(App::Text(box, kWebLink), kWebText);
    for (HWND link : {web, mail})
        ::RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(DrawnAs(web, kVisited));
    EXPECT_TRUE(DrawnAs(mail, kVisited));
    App::Click(box, IDOK);
    ASSERT_TRUE(WaitClosed());
    box = Open();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(DrawnAs(::GetDlgItem(box, kWebLink), kUnvisited));
    EXPECT_TRUE(DrawnAs(::GetDlgItem(box, kMailLink), kUnvisited));
    App::Click(box, IDOK);
}

// The hand shows over the whole rectangle of a link, and a real click right
// of the text (where the group box lies above the link) opens it.
TEST_F(AboutBox, TheWholeRectangleOfALinkTakesTheMouse)
{
    ShellHandlers handlers(RecordCommand());
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    HWND web = ::GetDlgItem(box, kWebLink), label = nullptr;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (App::WindowTextW(c) == L"e-mail:")
            label = c;
    ASSERT_NE(label, nullptr);
    RECT rc;
    ::GetClientRect(web, &rc);
    MouseAt(label, 3, 3);
    HCURSOR arrow = nullptr, hand = nullptr;
    ASSERT_TRUE(Eventually([&] { return (arrow = CursorShown()) != nullptr; }));
    MouseAt(web, rc.right - 2, rc.bottom / 2);
    EXPECT_TRUE(Eventually([&] { return (hand = CursorShown()) != arrow; }));
    MouseAt(web, 2, 2);
    EXPECT_TRUE(Eventually([&] { return CursorShown() == hand; }));
    MouseAt(web, rc.right - 2, rc.bottom / 2, true);
    EXPECT_TRUE(Eventually([&] { return Recorded() == kWebOpened; })) << Recorded();
    EXPECT_TRUE(DrawnAs(web, kVisited));
    MouseAt(box, 1, 1);
    App::Click(box, IDOK);
}

TEST_F(AboutBox, ALinkTheShellCannotOpenStaysBlue)
{
    ShellHandlers handlers(L"\"" + m_dir.File(L"missing.exe") + L"\" \"%1\"");
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    for (int id : {kWebLink, kMailLink}) {
        ClickAt(::GetDlgItem(box, id));
        ::RedrawWindow(::GetDlgItem(box, id), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_TRUE(DrawnAs(::GetDlgItem(box, id), kUnvisited)) << id;
    }
    EXPECT_FALSE(m_dir.Exists(L"opened.txt"));
    App::Click(box, IDOK);
}

// Each way of closing ends the box and leaves the main window, its data file
// and its folder as they were; the low four bits of the command are ignored.
TEST_F(AboutBox, EveryCloseWayEndsTheBoxAndChangesNothingElse)
{
    const std::vector<std::string> before = e2e::ReportShown(m_app);
    ASSERT_FALSE(before[0].empty());
    const std::string data = m_dir.Read(L"Tolvari.dat");
    const std::vector<std::wstring> files = m_dir.List();
    WIN32_FILE_ATTRIBUTE_DATA written, now;
    ::GetFileAttributesExW(m_dir.File(L"Tolvari.dat").c_str(), GetFileExInfoStandard, &written);
    const UINT commands[] = {0x10, 0x11, 0x1F};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(e2e::CloseName(e2e::kCloseWays[i]));
        HWND box = Open(commands[i]);
        ASSERT_NE(box, nullptr);
        e2e::CloseDialog(box, e2e::kCloseWays[i]);
        ASSERT_TRUE(WaitClosed());
        ASSERT_TRUE(m_app.Sync());
        EXPECT_TRUE(::IsWindowEnabled(m_app.Main()));
        EXPECT_EQ(e2e::ReportShown(m_app), before);
    }
    EXPECT_EQ(m_dir.Read(L"Tolvari.dat"), data);
    ::GetFileAttributesExW(m_dir.File(L"Tolvari.dat").c_str(), GetFileExInfoStandard, &now);
    EXPECT_EQ(::CompareFileTime(&now.ftLastWriteTime, &written.ftLastWriteTime), 0);
    EXPECT_EQ(m_dir.List(), files);
}

}  // namespace
