// The About box from the system menu: its layout and texts, the two links
// (colour, underline, cursor, what the shell is asked to open) and the three
// ways to close it, none of which changes the main window or its data file.
#include "Driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::TempDir;

constexpr int kWebLink = 1013;
constexpr int kMailLink = 1014;
constexpr COLORREF kUnvisited = RGB(0, 0, 220);
constexpr COLORREF kVisited = RGB(200, 0, 0);
const char kWebText[] = "www.example.org";
const char kMailText[] = "hi@example.org";
// The shell itself puts "http://" before an address that starts with "www".
const std::string kWebOpened = std::string("http://") + kWebText + "\n";

// ---------------------------------------------------------------------------
// The shell's link handler during a test is this program itself, started as
// "tolvari_e2e.exe --record-open FILE TARGET": it appends TARGET to FILE and
// ends before any test runs, so no browser or mail program is ever started.

std::wstring SelfPath()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

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
        ::ExitProcess(h != INVALID_HANDLE_VALUE && written == line.size() ? 0 : 1);
    }
    if (argv)
        ::LocalFree(argv);
    return false;
}();

// Points the "open" command of the three link schemes at a command line for
// the life of the object and puts the previous commands back afterwards.
// Wine's shell reads these under HKEY_CLASSES_ROOT itself; a per-user
// override in HKCU\Software\Classes is not consulted there.
class ShellHandlers {
public:
    explicit ShellHandlers(const std::wstring& command)
    {
        for (const wchar_t* scheme : {L"http", L"https", L"mailto"}) {
            Saved saved;
            saved.key = std::wstring(scheme) + L"\\shell\\open\\command";
            HKEY key = nullptr;
            if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, saved.key.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
                wchar_t value[1024] = L"";
                DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
                if (::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                    ERROR_SUCCESS) {
                    saved.existed = true;
                    saved.type = type;
                    saved.value = value;
                }
                ::RegCloseKey(key);
            }
            m_saved.push_back(saved);
            Set(saved.key, REG_SZ, command);
        }
    }

    ~ShellHandlers()
    {
        for (const Saved& saved : m_saved) {
            if (saved.existed)
                Set(saved.key, saved.type, saved.value);
            else
                ::RegDeleteKeyW(HKEY_CLASSES_ROOT, saved.key.c_str());
        }
    }

    ShellHandlers(const ShellHandlers&) = delete;
    ShellHandlers& operator=(const ShellHandlers&) = delete;

    bool Ok() const { return m_ok; }

private:
    struct Saved {
        std::wstring key;
        bool existed = false;
        DWORD type = REG_SZ;
        std::wstring value;
    };

    void Set(const std::wstring& path, DWORD type, const std::wstring& value)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr) != ERROR_SUCCESS) {
            m_ok = false;
            return;
        }
        if (::RegSetValueExW(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
            m_ok = false;
        ::RegCloseKey(key);
    }

    std::vector<Saved> m_saved;
    bool m_ok = true;
};

template <class F>
bool Eventually(F condition, DWORD ms = e2e::kWaitMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(20);
    }
}

// ---------------------------------------------------------------------------
// What a link looks like on the screen: the pixels of the control's
// rectangle, read back from the display.

struct Look {
    int unvisited = 0;  // pixels in the exact link colours
    int visited = 0;
    int longestRow = 0;  // longest horizontal run of one link colour: the underline
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
        COLORREF runColour = CLR_INVALID;
        for (int x = 0; x < rc.right; ++x) {
            const COLORREF c = ::GetPixel(screen, origin.x + x, origin.y + y);
            look.unvisited += c == kUnvisited;
            look.visited += c == kVisited;
            if ((c == kUnvisited || c == kVisited) && c == runColour) {
                ++run;
            } else {
                run = (c == kUnvisited || c == kVisited) ? 1 : 0;
                runColour = c;
            }
            if (run > look.longestRow)
                look.longestRow = run;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return look;
}

// Far longer than any stroke of a letter at this size, and shorter than the text.
constexpr int kUnderlineMin = 40;

// Waits (bounded) until the link is drawn in one colour only, underlined;
// the screen may show a half-painted state for a moment.
::testing::AssertionResult DrawnAs(HWND link, COLORREF colour)
{
    Look look;
    const bool ok = Eventually([&] {
        look = LookAt(link);
        const int mine = colour == kUnvisited ? look.unvisited : look.visited;
        const int other = colour == kUnvisited ? look.visited : look.unvisited;
        return mine > 0 && other == 0 && look.longestRow >= kUnderlineMin;
    });
    return (ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "blue " << look.unvisited << ", red " << look.visited << ", longest row " << look.longestRow;
}

::testing::AssertionResult DrawnUnvisited(HWND link) { return DrawnAs(link, kUnvisited); }
::testing::AssertionResult DrawnVisited(HWND link) { return DrawnAs(link, kVisited); }

// Asks the control to paint itself now, so the screen shows its current state.
void Repaint(HWND control)
{
    ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// A left click delivered straight to the control, waiting until it is handled.
void ClickAt(HWND control, int x, int y)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                          e2e::kWaitMs, &result);
    ::SendMessageTimeoutW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, e2e::kWaitMs,
                          &result);
}

// Real mouse input at a point of the control's client area: the system
// decides by hit-testing which window gets it.
POINT ScreenPoint(HWND control, int x, int y)
{
    POINT p = {x, y};
    ::ClientToScreen(control, &p);
    return p;
}

void MouseTo(POINT p)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof(in));
}

void MouseClick(POINT p)
{
    MouseTo(p);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
}

HCURSOR CursorShown()
{
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// Width of the control's text in the dialog's font, as the test's own
// process renders it; and whether it fits the control's client area.
struct TextFit {
    std::wstring face;  // the typeface the system really chose
    int baseX = 0;      // horizontal dialog base unit of that font
    bool fits = false;
};

TextFit FitOf(HWND control)
{
    TextFit fit;
    HDC dc = ::GetDC(nullptr);
    HFONT font = ::CreateFontW(-::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = L"";
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    fit.face = face;
    SIZE size;
    ::GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    fit.baseX = (size.cx / 26 + 1) / 2;

    const std::wstring text = App::WindowTextW(control);
    RECT client;
    ::GetClientRect(control, &client);
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    RECT need = client;
    ::DrawTextW(dc, text.c_str(), -1, &need,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0));
    fit.fits = need.right <= client.right && need.bottom <= client.bottom;
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return fit;
}

// ---------------------------------------------------------------------------

// A data file with today's name day, so that the main window shows a report.
std::string TodaysData()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char line[64];
    snprintf(line, sizeof(line), "%02d.%02d 0000 Karina\r\n", now.wDay, now.wMonth);
    return std::string("[***CALENDAR***]\r\n") + line;
}

struct FileState {
    std::string bytes;
    FILETIME written = {};
};

FileState StateOf(const TempDir& dir, const std::wstring& name)
{
    FileState state;
    state.bytes = dir.Read(name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(dir.File(name).c_str(), GetFileExInfoStandard, &data))
        state.written = data.ftLastWriteTime;
    return state;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        e2e::WriteDefaultFiles(m_dir, TodaysData());
        ASSERT_TRUE(m_app.Start(m_dir.Path()));
        ASSERT_TRUE(m_app.WaitMainWindow());
    }

    // Opens the box through the main window's system menu.
    HWND Open(UINT command = 0x10)
    {
        m_app.SysCommand(command);
        HWND box = m_app.WaitDialogWith(kMailLink);
        // Painted: the links show in some link colour.
        if (box)
            Eventually([&] {
                const Look look = LookAt(Link(box, kMailLink));
                return look.unvisited + look.visited > 0;
            });
        return box;
    }

    bool WaitClosed()
    {
        return Eventually([&] { return m_app.FindDialogWith(kMailLink) == nullptr; });
    }

    static HWND Link(HWND box, int id) { return ::GetDlgItem(box, id); }

    std::vector<std::string> MainTexts() const
    {
        std::vector<std::string> texts;
        for (int id : {1000, 1001, 1002, 1003, 1007})
            texts.push_back(m_app.Text(id));
        return texts;
    }

    std::string Recorded() const { return m_dir.Read(L"opened.txt"); }
    std::wstring RecordCommand() const
    {
        return L"\"" + SelfPath() + L"\" --record-open \"" + m_dir.File(L"opened.txt") + L"\" \"%1\"";
    }

    TempDir m_dir;
    App m_app;
};

// ---------------------------------------------------------------------------

TEST_F(AboutBox, OpensFromTheSystemMenuForEveryAboutCommand)
{
    // The lowest four bits of the command are not looked at.
    for (UINT command : {0x10u, 0x11u, 0x1Fu}) {
        SCOPED_TRACE(command);
        HWND box = Open(command);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(App::WindowTextW(box), L"About Tolvari");
        EXPECT_EQ(::GetWindow(box, GW_OWNER), m_app.Main());
        App::Click(box, IDOK);
        ASSERT_TRUE(WaitClosed());
    }
}

TEST_F(AboutBox, ShowsItsControlsInTemplateOrder)
{
    struct Control {
        int id;
        const wchar_t* cls;
        LONG style;  // besides WS_CHILD | WS_VISIBLE
        int x, y, w, h;  // dialog units; images size themselves to the picture
        const char* text;  // null: a picture, named by its resource
    };
    const Control expected[] = {
        {-1, L"Static", SS_ICON, 11, 17, 0, 0, nullptr},
        {-1, L"Static", SS_CENTER | SS_NOPREFIX | WS_GROUP, 40, 10, 138, 16,
         "Tolvari Version 2.5.2\nDisplays todays anniversaries and birthdays."},
        {-1, L"Static", SS_CENTER | WS_GROUP, 55, 30, 111, 8, "Copyright (C) 2026 Tolvari Works"},
        {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 180, 7, 50, 14, "OK"},
        {-1, L"Button", BS_GROUPBOX, 7, 43, 222, 50, "Information"},
        {-1, L"Static", SS_BITMAP, 137, 62, 0, 0, nullptr},
        {-1, L"Static", SS_LEFT | WS_GROUP, 15, 55, 120, 16, "Tolvari Works\nSmall tools for every day"},
        {kWebLink, L"Static", SS_LEFT | WS_GROUP, 15, 79, 74, 8, kWebText},
        {kMailLink, L"Static", SS_LEFT | WS_GROUP, 39, 71, 54, 8, kMailText},
        {-1, L"Static", SS_LEFT | WS_GROUP, 15, 71, 21, 8, "e-mail:"},
        {-1, L"Static", SS_LEFT | WS_GROUP, 44, 98, 147, 8, "If you like the program then send us an e-mail."},
    };
    HWND box = Open();
    ASSERT_NE(box, nullptr);

    // Dialog units from the box's own size: 237 x 117 of them.
    RECT client;
    ::GetClientRect(box, &client);
    const double unitX = client.right / 237.0, unitY = client.bottom / 117.0;
    auto matches = [](double pixels, double expected) {
        return pixels > expected - 1.5 && pixels < expected + 1.5;
    };

    HWND child = ::GetWindow(box, GW_CHILD);
    for (const Control& c : expected) {
        SCOPED_TRACE(c.text ? c.text : "picture");
        ASSERT_NE(child, nullptr);
        wchar_t cls[32] = L"";
        ::GetClassNameW(child, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, c.cls), 0) << e2e::ToCp1250(cls);
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        EXPECT_EQ(::GetWindowLongW(child, GWL_STYLE) & ~(WS_CHILD | WS_VISIBLE), c.style);
        if (c.text) {
            EXPECT_EQ(e2e::ToCp1250(App::WindowTextW(child)), c.text);
        }
        RECT r;
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(matches(r.left, c.x * unitX)) << r.left;
        EXPECT_TRUE(matches(r.top, c.y * unitY)) << r.top;
        if (c.w) {
            EXPECT_TRUE(matches(r.right - r.left, c.w * unitX)) << r.right - r.left;
            EXPECT_TRUE(matches(r.bottom - r.top, c.h * unitY)) << r.bottom - r.top;
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than laid out";

    // The pictures: the program's icon and the maker's logo of 103 x 26 pixels.
    HWND icon = ::GetWindow(box, GW_CHILD);
    EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0);
    HWND logo = nullptr;
    for (logo = ::GetWindow(box, GW_CHILD); logo; logo = ::GetWindow(logo, GW_HWNDNEXT))
        if ((::GetWindowLongW(logo, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            break;
    ASSERT_NE(logo, nullptr);
    EXPECT_NE(::SendMessageW(logo, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    RECT lr;
    ::GetClientRect(logo, &lr);
    EXPECT_EQ(lr.right, 103);
    EXPECT_EQ(lr.bottom, 26);
    App::Click(box, IDOK);
}

TEST_F(AboutBox, OwnTextsFitTheirPlaces)
{
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const std::string text = e2e::ToCp1250(App::WindowTextW(c));
        // The maker's texts and addresses are ours to choose, so they must fit
        // whatever face stands in for the dialog font.
        for (const char* own : {"Copyright (C) 2026 Tolvari Works", "Tolvari Works\nSmall tools for every day",
                                kWebText, kMailText})
            if (text == own) {
                EXPECT_TRUE(FitOf(c).fits) << text;
            }
    }
    App::Click(box, IDOK);
}

TEST_F(AboutBox, FixedTextsFitWithTheDialogFont)
{
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    const TextFit probe = FitOf(::GetDlgItem(box, kWebLink));
    if (_wcsicmp(probe.face.c_str(), L"MS Sans Serif") != 0)
        GTEST_SKIP() << "the layout is made for MS Sans Serif, which this Wine does not offer (it draws "
                     << e2e::ToCp1250(probe.face)
                     << "); Wine's ms_sans_serif.ttf must be in the prefix's Fonts folder";
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        ::GetClassNameW(c, cls, 32);
        const LONG type = ::GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK;
        if (_wcsicmp(cls, L"Static") == 0 && type <= SS_RIGHT) {
            EXPECT_TRUE(FitOf(c).fits) << e2e::ToCp1250(App::WindowTextW(c));
        }
    }
    App::Click(box, IDOK);
}

TEST_F(AboutBox, LinksAreBlueAndUnderlinedAndOtherTextsAreNot)
{
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(DrawnUnvisited(Link(box, kWebLink)));
    EXPECT_TRUE(DrawnUnvisited(Link(box, kMailLink)));
    // The group box frames the links, so only the other statics are looked at.
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(c);
        wchar_t cls[32] = L"";
        ::GetClassNameW(c, cls, 32);
        if (id == kWebLink || id == kMailLink || _wcsicmp(cls, L"Static") != 0)
            continue;
        const Look look = LookAt(c);
        EXPECT_EQ(look.unvisited + look.visited, 0) << e2e::ToCp1250(App::WindowTextW(c));
    }
    App::Click(box, IDOK);
}

TEST_F(AboutBox, ClickedLinksOpenTheirTextsAndTurnRed)
{
    ShellHandlers handlers(RecordCommand());
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    HWND web = Link(box, kWebLink), mail = Link(box, kMailLink);

    ClickAt(web, 2, 2);
    EXPECT_TRUE(Eventually([&] { return Recorded() == kWebOpened; })) << Recorded();
    EXPECT_TRUE(DrawnVisited(web));
    EXPECT_TRUE(DrawnUnvisited(mail));

    // An address with "@" opens as a mail link; the control keeps the bare address.
    ClickAt(mail, 2, 2);
    const std::string both = kWebOpened + "mailto:" + kMailText + "\n";
    EXPECT_TRUE(Eventually([&] { return Recorded() == both; })) << Recorded();
    EXPECT_TRUE(DrawnVisited(mail));
    EXPECT_EQ(App::Text(box, kMailLink), kMailText);
    EXPECT_EQ(App::Text(box, kWebLink), kWebText);

    // Red stays, through repaints and a second click that opens the same target.
    ClickAt(mail, 2, 2);
    EXPECT_TRUE(Eventually([&] { return Recorded() == both + "mailto:" + kMailText + "\n"; })) << Recorded();
    Repaint(web);
    Repaint(mail);
    EXPECT_TRUE(DrawnVisited(web));
    EXPECT_TRUE(DrawnVisited(mail));
    App::Click(box, IDOK);
    ASSERT_TRUE(WaitClosed());

    // The next showing starts unvisited again.
    box = Open();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(DrawnUnvisited(Link(box, kWebLink)));
    EXPECT_TRUE(DrawnUnvisited(Link(box, kMailLink)));
    App::Click(box, IDOK);
}

TEST_F(AboutBox, TheWholeRectangleOfALinkTakesTheMouse)
{
    ShellHandlers handlers(RecordCommand());
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    HWND web = Link(box, kWebLink);
    RECT rc;
    ::GetClientRect(web, &rc);
    // Right of the text: the web address is much narrower than its control.
    // The group box lies above the links there, so the mouse reaches a link
    // only through the hit tests of both.
    const POINT beside = ScreenPoint(web, rc.right - 2, rc.bottom / 2);

    // Over a plain text the dialog's arrow shows; over any part of a link, the hand.
    HWND label = nullptr;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (App::WindowTextW(c) == L"e-mail:")
            label = c;
    ASSERT_NE(label, nullptr);
    MouseTo(ScreenPoint(label, 3, 3));
    HCURSOR arrow = nullptr;
    ASSERT_TRUE(Eventually([&] { return (arrow = CursorShown()) != nullptr; }));
    MouseTo(beside);
    HCURSOR hand = nullptr;
    EXPECT_TRUE(Eventually([&] { return (hand = CursorShown()) != arrow; }));
    MouseTo(ScreenPoint(web, 2, 2));
    EXPECT_TRUE(Eventually([&] { return CursorShown() == hand; }));

    MouseClick(beside);
    EXPECT_TRUE(Eventually([&] { return Recorded() == kWebOpened; })) << Recorded();
    EXPECT_TRUE(DrawnVisited(web));
    MouseTo(ScreenPoint(box, 1, 1));
    App::Click(box, IDOK);
}

TEST_F(AboutBox, ALinkTheShellCannotOpenStaysBlue)
{
    // A handler that does not exist: the shell refuses, the link only beeps.
    ShellHandlers handlers(L"\"" + m_dir.File(L"missing.exe") + L"\" \"%1\"");
    ASSERT_TRUE(handlers.Ok());
    HWND box = Open();
    ASSERT_NE(box, nullptr);
    for (int id : {kWebLink, kMailLink}) {
        HWND link = Link(box, id);
        ClickAt(link, 2, 2);
        Repaint(link);
        EXPECT_TRUE(DrawnUnvisited(link)) << id;
    }
    EXPECT_FALSE(m_dir.Exists(L"opened.txt"));
    App::Click(box, IDOK);
}

struct CloseWay {
    const char* name;
    void (*close)(HWND box);
};

class AboutBoxClose : public AboutBox, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(AboutBoxClose, EndsTheBoxAndChangesNothingElse)
{
    const std::vector<std::string> before = MainTexts();
    ASSERT_FALSE(before[0].empty());
    const FileState data = StateOf(m_dir, L"Tolvari.dat");
    const std::vector<std::wstring> files = m_dir.List();

    HWND box = Open();
    ASSERT_NE(box, nullptr);
    GetParam().close(box);
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(m_app.Sync());

    EXPECT_TRUE(m_app.Running());
    EXPECT_EQ(MainTexts(), before);
    EXPECT_TRUE(::IsWindowEnabled(m_app.Main()));
    const FileState after = StateOf(m_dir, L"Tolvari.dat");
    EXPECT_EQ(after.bytes, data.bytes);
    EXPECT_EQ(::CompareFileTime(&after.written, &data.written), 0);
    EXPECT_EQ(m_dir.List(), files);

    // The main window goes on working: it can open the box again.
    box = Open();
    ASSERT_NE(box, nullptr);
    App::Click(box, IDOK);
    EXPECT_TRUE(WaitClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutBoxClose,
    ::testing::Values(CloseWay{"Ok", [](HWND box) { App::ClickAsync(box, IDOK); }},
                      CloseWay{"Esc", [](HWND box) { App::Key(box, VK_ESCAPE); }},
                      CloseWay{"CloseBox", [](HWND box) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

}  // namespace
