// The program as a keyboard user and a reader meet it: tab order, Enter and
// Esc, the system menu's mnemonics, and texts that fit the controls they sit
// in (the date line and the calendar line are one-line fields in a large
// bold font; a clipped text shows no ellipsis, it just ends).
#include "Driver.h"
#include "Probe.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::Probe;
using e2e::TempDir;

constexpr int kDnes = 1000, kCalendar = 1001, kYesterday = 1004, kTomorrow = 1005;

// The sample data shipped with the program, found from this source file.
std::string SampleData()
{
    std::wstring path = e2e::FromCp1250(__FILE__);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (!path.empty() && path[0] == L'\\')
        path = L"Z:" + path;
    path = path.substr(0, path.find_last_of(L'\\'));  // tests\e2e
    path = path.substr(0, path.find_last_of(L'\\'));  // tests
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\data\\Tolvari.dat";
    const std::string bytes = e2e::ReadFileBytes(path);
    EXPECT_FALSE(bytes.empty()) << e2e::ToCp1250(path);
    return bytes;
}

// Width in pixels of the widest line of text in the font, measured here with
// the same font the program's control uses.
int TextWidth(const LOGFONTW& font, const std::wstring& text)
{
    HDC dc = ::GetDC(nullptr);
    HFONT f = ::CreateFontIndirectW(&font);
    HGDIOBJ old = ::SelectObject(dc, f);
    int widest = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        line.erase(std::remove(line.begin(), line.end(), L'&'), line.end());
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max<int>(widest, size.cx);
        start = end + 1;
    }
    ::SelectObject(dc, old);
    ::DeleteObject(f);
    ::ReleaseDC(nullptr, dc);
    return widest;
}

// Room for one line of text in an edit control: its client width less its
// left and right margins.
int EditRoom(HWND edit)
{
    RECT rc = {};
    ::GetClientRect(edit, &rc);
    const LRESULT margins = e2e::SendBounded(edit, EM_GETMARGINS);
    return rc.right - LOWORD(margins) - HIWORD(margins);
}

// Presses Tab where the focus is and returns the id of the next focus.
int TabFrom(Probe& probe)
{
    HWND from = probe.FocusWindow();
    App::Key(from, VK_TAB);
    // The probe's queries are sent, so they overtake keys still queued.
    e2e::Eventually([&] { return probe.FocusWindow() != from; });
    return probe.Focus();
}

class LookKeyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(e2e::StartWith(app, dir, SampleData()));
        probe = std::make_unique<Probe>(app);
        ASSERT_EQ(probe->Focus(), IDOK);
    }

    // Tabs from Exit to the control with this id.
    void TabTo(int id)
    {
        for (int i = 0; i < 10 && probe->Focus() != id; ++i)
            TabFrom(*probe);
        ASSERT_EQ(probe->Focus(), id);
    }

    TempDir dir;
    App app;
    std::unique_ptr<Probe> probe;
};

TEST_F(LookKeyboard, TabGoesThroughButtonsThenFieldsInTemplateOrderAndRoundAgain)
{
    std::vector<int> order;
    for (int i = 0; i < 8; ++i)
        order.push_back(TabFrom(*probe));
    EXPECT_EQ(order, (std::vector<int>{kYesterday, kTomorrow, 1000, 1001, 1002, 1003, 1007, IDOK}));
}

TEST_F(LookKeyboard, EnterOnExitEndsTheProgram)
{
    App::Key(probe->FocusWindow(), VK_RETURN);
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
}

// A focused push button is the one Enter presses, as everywhere on Windows.
TEST_F(LookKeyboard, EnterOnYesterdayOrTomorrowPressesThatButton)
{
    const std::string today = app.Text(kDnes);
    TabTo(kYesterday);
    App::Key(probe->FocusWindow(), VK_RETURN);
    EXPECT_TRUE(e2e::Eventually([&] { return app.Text(kDnes) != today; }));
    EXPECT_TRUE(app.Running());
    TabTo(kTomorrow);
    App::Key(probe->FocusWindow(), VK_RETURN);
    EXPECT_TRUE(e2e::Eventually([&] { return app.Text(kDnes) == today; }));
    EXPECT_TRUE(app.Running());
}

// The one-line date field does not keep Enter: it reaches the default button.
TEST_F(LookKeyboard, EnterInTheDateLineEndsTheProgram)
{
    TabTo(kDnes);
    App::Key(probe->FocusWindow(), VK_RETURN);
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
}

// The multi-line fields keep Enter; Esc still closes from there. The click
// on Tomorrow, queued behind the Enter, shows when the Enter was handled.
TEST_F(LookKeyboard, EnterInTheNextDaysFieldIsKeptAndEscCloses)
{
    const std::string today = app.Text(kDnes);
    TabTo(1007);
    App::Key(probe->FocusWindow(), VK_RETURN);
    App::ClickAsync(app.Main(), kTomorrow);
    ASSERT_TRUE(e2e::Eventually([&] { return !app.Running() || app.Text(kDnes) != today; }));
    ASSERT_TRUE(app.Running());
    TabTo(1007);
    App::Key(probe->FocusWindow(), VK_ESCAPE);
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
}

// The letter after "&" in a menu text.
wchar_t Mnemonic(const std::wstring& text)
{
    const size_t amp = text.find(L'&');
    return amp == std::wstring::npos || amp + 1 >= text.size() ? 0 : std::towlower(text[amp + 1]);
}

TEST(LookMenu, SystemMenuEntriesHaveMnemonicsNoStandardEntryUses)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, SampleData()));
    Probe probe(app);
    const std::vector<e2e::MenuItem> menu = probe.SystemMenu(app.Main());
    ASSERT_GE(menu.size(), 4u);
    const std::wstring edit = menu[menu.size() - 3].text, about = menu[menu.size() - 1].text;
    EXPECT_EQ(Mnemonic(edit), L'e');
    EXPECT_EQ(Mnemonic(about), L'a');
    // Wine's own "About Wine" entry is not on Windows; every other entry is.
    for (size_t i = 0; i + 4 < menu.size(); ++i) {
        if (menu[i].separator || menu[i].text.find(L"Wine") != std::wstring::npos)
            continue;
        EXPECT_NE(Mnemonic(menu[i].text), Mnemonic(edit)) << e2e::ToCp1250(menu[i].text);
        EXPECT_NE(Mnemonic(menu[i].text), Mnemonic(about)) << e2e::ToCp1250(menu[i].text);
    }
}

// Alt+Space, E: the system menu opens and its letter runs the editor.
TEST(LookMenu, KeyboardOpensTheEditorFromTheSystemMenu)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, SampleData()));
    ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_KEYMENU, L' ');
    // The letter goes in once the menu is open, not while it opens.
    ASSERT_TRUE(e2e::Eventually([] {
        HWND popup = ::FindWindowW(L"#32768", nullptr);
        return popup && ::IsWindowVisible(popup);
    }));
    ::PostMessageW(app.Main(), WM_CHAR, L'e', 1);
    HWND editor = app.WaitDialogWith(1018);
    ASSERT_NE(editor, nullptr);
    App::Key(editor, VK_ESCAPE);
    EXPECT_TRUE(e2e::WaitGone(editor));
    EXPECT_TRUE(app.Running());
}

class LookFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(e2e::StartWith(app, dir, SampleData()));
        probe = std::make_unique<Probe>(app);
    }

    LOGFONTW FontOf(int id)
    {
        const std::optional<LOGFONTW> f = probe->Font(::GetDlgItem(app.Main(), id));
        EXPECT_TRUE(f.has_value()) << id;
        return f.value_or(LOGFONTW{});
    }

    TempDir dir;
    App app;
    std::unique_ptr<Probe> probe;
};

// Every date line of a leap year, each weekday with each day, in the date
// line's own font.
TEST_F(LookFit, EveryDateLineFitsTheDateField)
{
    const LOGFONTW font = FontOf(kDnes);
    const int room = EditRoom(::GetDlgItem(app.Main(), kDnes));
    int widest = 0;
    std::string widestLine;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= MonthLength(month, 2028); ++day)
            for (int dow = 1; dow <= 7; ++dow) {
                CurrentDate date;
                date.m_nDay = day, date.m_nMonth = month, date.m_nYear = 2028, date.m_nDOW = dow;
                const std::string line = FormatDateLine(date, 0);
                const int width = TextWidth(font, e2e::FromCp1250(line));
                if (width > widest)
                    widest = width, widestLine = line;
            }
    EXPECT_LE(widest, room) << widestLine;
}

TEST_F(LookFit, EveryCalendarEntryOfTheSampleFitsTheCalendarLine)
{
    const LOGFONTW font = FontOf(kCalendar);
    const int room = EditRoom(::GetDlgItem(app.Main(), kCalendar));
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(SampleData()));
    int entries = 0;
    for (int i = 0; i < list.m_nCount; ++i) {
        if (list.m_arrYear[i] != "0000")
            continue;
        ++entries;
        const std::string name(list.m_arrName[i]);
        EXPECT_LE(TextWidth(font, e2e::FromCp1250(name)), room)
            << list.m_arrDay[i] << "." << list.m_arrMonth[i] << " " << name;
    }
    EXPECT_GE(entries, 366);
}

// Captions of buttons, group boxes and labels fit inside their controls, in
// the font each control uses. Check and radio boxes give their box's room.
void ExpectCaptionsFit(Probe& probe, HWND dialog)
{
    const int box = ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        const std::wstring text = App::WindowTextW(c);
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        if (text.empty() || !(style & WS_VISIBLE) || _wcsicmp(cls, L"Edit") == 0)
            continue;
        int room;
        RECT rc = {};
        ::GetClientRect(c, &rc);
        room = rc.right;
        if (_wcsicmp(cls, L"Button") == 0) {
            const LONG kind = style & BS_TYPEMASK;
            if (kind == BS_OWNERDRAW)
                continue;  // pictures, not texts
            if (kind == BS_AUTORADIOBUTTON || kind == BS_RADIOBUTTON || kind == BS_AUTOCHECKBOX ||
                kind == BS_CHECKBOX)
                room -= box;
            else if (kind == BS_GROUPBOX)
                room -= 2 * box;
        } else if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) > SS_RIGHT) {
            continue;  // icons, bitmaps, frames
        }
        const std::optional<LOGFONTW> font = probe.Font(c);
        ASSERT_TRUE(font.has_value()) << e2e::ToCp1250(text);
        EXPECT_LE(TextWidth(*font, text), room) << e2e::ToCp1250(text);
    }
}

TEST_F(LookFit, CaptionsFitInTheMainWindowEditorAndAboutBox)
{
    {
        SCOPED_TRACE("main window");
        ExpectCaptionsFit(*probe, app.Main());
    }
    HWND editor = e2e::OpenBySysMenu(app, 32771, 1018);
    ASSERT_NE(editor, nullptr);
    {
        SCOPED_TRACE("editor");
        ExpectCaptionsFit(*probe, editor);
    }
    App::Key(editor, VK_ESCAPE);
    ASSERT_TRUE(e2e::WaitGone(editor));
    HWND about = e2e::OpenBySysMenu(app, 16, 1013);
    ASSERT_NE(about, nullptr);
    {
        SCOPED_TRACE("About box");
        ExpectCaptionsFit(*probe, about);
    }
    App::Key(about, VK_ESCAPE);
    EXPECT_TRUE(e2e::WaitGone(about));
}

}  // namespace
