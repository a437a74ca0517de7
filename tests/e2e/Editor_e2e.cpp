// The record editor, driven the way a user drives it: opened from the main
// window's system menu, paged through, edited, closed; then the data file on
// disk and the main window's report are checked.
#include "Driver.h"
#include "Probe.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

namespace {

using e2e::App;
using e2e::TempDir;

constexpr UINT kEditCommand = 32771;
enum : int {
    kFirst = 1005, kPrev = 1006, kNext = 1007, kLast = 1008, kNew = 1009, kDelete = 1011,
    kDay = 1012, kPosition = 1013, kMonth = 1014, kYear = 1015, kHoliday = 1016, kAnniversary = 1017,
    kName = 1018, kNoAge = 1019,
};

const char kHeader[] = "[***CALENDAR***]\r\n";
const char kCustom[] = "\r\n[***CUSTOM***]\r\n";

// Four records, one of each kind: calendar entry, anniversary, holiday, no age.
const std::string kFour = std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                          "07.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n";

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, e2e::kWaitMs, &result);
    return static_cast<LRESULT>(result);
}

template <class F>
bool WaitUntil(F condition, DWORD ms = e2e::kWaitMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(20);
    }
    return true;
}

// Everything the editor shows of one record.
struct Shown {
    std::string position;
    int day, month;  // list indices, -1 = none
    std::string year;
    bool yearEnabled;
    int type;  // 0 Holiday, 1 Anniversary, -1 none
    bool noAge;
    std::string name;
    auto Tie() const { return std::tie(position, day, month, year, yearEnabled, type, noAge, name); }
    bool operator==(const Shown& o) const { return Tie() == o.Tie(); }
};

std::ostream& operator<<(std::ostream& os, const Shown& s)
{
    return os << "{" << s.position << " day " << s.day << " month " << s.month << " year \"" << s.year
              << "\"" << (s.yearEnabled ? "" : " (disabled)") << " type " << s.type
              << (s.noAge ? " no-age" : "") << " name \"" << s.name << "\"}";
}

Shown Read(HWND ed)
{
    const bool holiday = Send(::GetDlgItem(ed, kHoliday), BM_GETCHECK) == BST_CHECKED;
    const bool anniversary = Send(::GetDlgItem(ed, kAnniversary), BM_GETCHECK) == BST_CHECKED;
    return Shown{App::Text(ed, kPosition),
                 static_cast<int>(Send(::GetDlgItem(ed, kDay), CB_GETCURSEL)),
                 static_cast<int>(Send(::GetDlgItem(ed, kMonth), CB_GETCURSEL)),
                 App::Text(ed, kYear),
                 ::IsWindowEnabled(::GetDlgItem(ed, kYear)) != FALSE,
                 holiday ? 0 : anniversary ? 1 : -1,
                 Send(::GetDlgItem(ed, kNoAge), BM_GETCHECK) == BST_CHECKED,
                 App::Text(ed, kName)};
}

// A user's pick in a drop-down list: the selection, then its notification.
void Select(HWND ed, int id, int index)
{
    HWND list = ::GetDlgItem(ed, id);
    Send(list, CB_SETCURSEL, static_cast<WPARAM>(index));
    Send(ed, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Replaces the whole text at once, as pasting over a selection would.
void SetText(HWND ed, int id, const std::wstring& text)
{
    Send(::GetDlgItem(ed, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Selects the field's text and types over it key by key.
void TypeOver(HWND ed, int id, const std::wstring& text)
{
    HWND field = ::GetDlgItem(ed, id);
    Send(field, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        Send(field, WM_CHAR, c, 1);
}

// The weekday the system itself gives for a date of the current year.
std::string EnglishWeekday(int day, int month)
{
    static const char* const names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    FILETIME ft;
    ::SystemTimeToFileTime(&st, &ft);
    ::FileTimeToSystemTime(&ft, &st);
    return names[st.wDayOfWeek];
}

int ThisYear()
{
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    return st.wYear;
}

class EditorTest : public ::testing::Test {
protected:
    void StartWith(const std::string& data)
    {
        e2e::WriteDefaultFiles(dir, data);
        ASSERT_TRUE(app.Start(dir.Path()));
        ASSERT_TRUE(app.WaitMainWindow());
    }

    HWND Open()
    {
        app.SysCommand(kEditCommand);
        HWND ed = app.WaitDialogWith(kNoAge);
        EXPECT_NE(ed, nullptr) << "the editor did not open";
        return ed;
    }

    // Waits until the editor is gone and the main window has done its work.
    void WaitClosed(HWND ed)
    {
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(ed); })) << "the editor did not close";
        EXPECT_TRUE(app.Sync());
    }

    void Exit(HWND ed)
    {
        App::Click(ed, IDOK);
        WaitClosed(ed);
    }

    std::string Saved() const { return dir.Read(L"Tolvari.dat"); }

    // The five report fields against the report the core builds for the
    // saved records on the given day of this year.
    void ExpectReportFor(int day, int month)
    {
        RecordList list;
        list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(Saved()));
        CurrentDate date;
        date.m_nDay = day, date.m_nMonth = month, date.m_nYear = ThisYear();
        date.m_nDOW = WeekdayOf(day, month, date.m_nYear);
        DayReportTexts want;
        BuildDayReport(list, date, 0, want);
        EXPECT_EQ(app.Text(1000), want.m_showDnes);
        EXPECT_EQ(app.Text(1001), want.m_showCalendar);
        EXPECT_EQ(app.Text(1002), want.m_showHolidays);
        EXPECT_EQ(app.Text(1003), want.m_showBirthdays);
        EXPECT_EQ(app.Text(1007), want.m_showNextDays);
    }

    TempDir dir;
    App app;
};

// ---------------------------------------------------------------------------

using EditorLayout = EditorTest;

TEST_F(EditorLayout, ControlsAsTheTemplateLaysThemOut)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::WindowTextW(ed), L"Edit anniversaries");
    const LONG dlgStyle = ::GetWindowLongW(ed, GWL_STYLE);
    EXPECT_TRUE(dlgStyle & WS_SYSMENU);
    EXPECT_FALSE(dlgStyle & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    struct Control {
        int id;
        const wchar_t* cls;
        const char* text;
        LONG typeMask, type;  // the kind, within the style's type bits
        LONG flags;           // further style bits that must be set
    };
    const Control controls[] = {
        {kHoliday, L"Button", "Holiday", BS_TYPEMASK, BS_AUTORADIOBUTTON, WS_GROUP},
        {kAnniversary, L"Button", "Anniversary", BS_TYPEMASK, BS_AUTORADIOBUTTON, 0},
        // The scroll bar belongs to the drop-down part, not to this window.
        {kDay, L"ComboBox", nullptr, 3, CBS_DROPDOWNLIST, CBS_SORT},
        {kMonth, L"ComboBox", nullptr, 3, CBS_DROPDOWNLIST, CBS_SORT},
        {kNoAge, L"Button", "Don't show age", BS_TYPEMASK, BS_AUTOCHECKBOX, BS_LEFTTEXT},
        {kYear, L"Edit", nullptr, 0, 0, ES_NUMBER | ES_AUTOHSCROLL},
        {kName, L"Edit", nullptr, 0, 0, ES_AUTOHSCROLL},
        {kFirst, L"Button", "First", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kPrev, L"Button", "Prev", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kNext, L"Button", "Next", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kLast, L"Button", "Last", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kNew, L"Button", "New", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kDelete, L"Button", "Delete", BS_TYPEMASK, BS_OWNERDRAW, 0},
        {kPosition, L"Static", nullptr, SS_TYPEMASK, SS_CENTER, 0},
        {IDOK, L"Button", "Exit", BS_TYPEMASK, BS_DEFPUSHBUTTON, 0},
    };
    for (const Control& c : controls) {
        HWND hwnd = ::GetDlgItem(ed, c.id);
        ASSERT_NE(hwnd, nullptr) << c.id;
        wchar_t cls[32] = L"";
        ::GetClassNameW(hwnd, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, c.cls), 0) << c.id << " is a " << e2e::ToCp1250(cls);
        if (c.text) {
            EXPECT_EQ(App::Text(ed, c.id), c.text) << c.id;
        }
        const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & c.typeMask, c.type) << c.id;
        EXPECT_EQ(style & c.flags, c.flags) << c.id;
    }

    // Group boxes and the second line of the Anniversary label.
    std::vector<std::string> statics;
    for (HWND child = ::GetWindow(ed, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) == -1 || ::GetDlgCtrlID(child) == 0xFFFF)
            statics.push_back(e2e::ToCp1250(App::WindowTextW(child)));
    EXPECT_EQ(statics, (std::vector<std::string>{"Birthday", "Type", "Date", "Name"}));

    // The lists hold the zero-filled numbers in numeric order.
    const std::pair<int, int> lists[] = {{kDay, 31}, {kMonth, 12}};
    for (const auto& [id, count] : lists) {
        HWND list = ::GetDlgItem(ed, id);
        ASSERT_EQ(Send(list, CB_GETCOUNT), count) << id;
        for (int i = 0; i < count; ++i) {
            wchar_t item[8] = L"";
            ASSERT_LT(Send(list, CB_GETLBTEXTLEN, i), 8) << id;
            Send(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            wchar_t want[8];
            std::swprintf(want, 8, L"%02d", i + 1);
            EXPECT_STREQ(item, want) << id << " item " << i;
        }
    }

    // Each bitmap button has taken the size of its 24 x 22 picture.
    for (int id : {kFirst, kPrev, kNext, kLast, kNew, kDelete}) {
        RECT r = {};
        ::GetClientRect(::GetDlgItem(ed, id), &r);
        EXPECT_EQ(r.right - r.left, 24) << id;
        EXPECT_EQ(r.bottom - r.top, 22) << id;
    }
}

// ---------------------------------------------------------------------------

using EditorPaging = EditorTest;

TEST_F(EditorPaging, FirstPrevNextLastShowEachKindAndNeverWrap)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);

    const Shown calendar{"1/4", 1, 1, "0", false, 0, false, "Hromnice"};
    const Shown grandpa{"2/4", 6, 11, "1950", true, 1, false, "Grandpa"};
    const Shown christmas{"3/4", 23, 11, "9999", false, 0, false, "Christmas Eve"};
    const Shown anna{"4/4", 14, 2, "8888", false, 1, true, "Anna"};
    const std::pair<int, Shown> steps[] = {
        {kFirst, calendar}, {kPrev, calendar},   {kNext, grandpa}, {kNext, christmas},
        {kNext, anna},      {kNext, anna},       {kPrev, christmas}, {kLast, anna},
        {kFirst, calendar}, {kLast, anna},       {kPrev, christmas}, {kPrev, grandpa},
    };
    for (const auto& [button, want] : steps) {
        App::Click(ed, button);
        EXPECT_EQ(Read(ed), want) << "after " << button;
    }

    // Paging writes nothing: the file is saved as it was read.
    Exit(ed);
    EXPECT_EQ(Saved(), kFour);
}

TEST_F(EditorPaging, OpensAtTheLastRecordOfTheDisplayedDay)
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char today[8];
    snprintf(today, sizeof today, "%02d.%02d", now.wDay, now.wMonth);
    StartWith(std::string(kHeader) + kCustom + today + " 1980 First\r\n" + today +
              " 1990 Second\r\n15.03 8888 Anna\r\n");
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::Text(ed, kPosition), "2/3");
    EXPECT_EQ(App::Text(ed, kName), "Second");
}

TEST_F(EditorPaging, EmptyListOpensWithNothingShownAndMovesTheDayToFirstJanuary)
{
    StartWith(kHeader);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    const Shown empty{"0/0", 0, 0, "1900", true, 1, false, ""};
    EXPECT_EQ(Read(ed), empty);
    for (int button : {kFirst, kPrev, kNext, kLast}) {
        App::Click(ed, button);
        EXPECT_EQ(Read(ed), empty) << button;
    }
    Exit(ed);
    EXPECT_EQ(Saved(), kHeader);
    EXPECT_EQ(app.Text(1000), EnglishWeekday(1, 1) + ", January  1, " + std::to_string(ThisYear()));
}

// ---------------------------------------------------------------------------

using EditorFields = EditorTest;

TEST_F(EditorFields, DayAndMonthAreStoredAndTheMainWindowMovesToThem)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);  // Grandpa, 07.12 1950
    Select(ed, kDay, 23);
    Select(ed, kMonth, 11);
    EXPECT_EQ(Read(ed), (Shown{"2/4", 23, 11, "1950", true, 1, false, "Grandpa"}));
    Exit(ed);

    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "24.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n");
    EXPECT_EQ(app.Text(1000),
              EnglishWeekday(24, 12) + ", December  24, " + std::to_string(ThisYear()));
    ExpectReportFor(24, 12);
}

TEST_F(EditorFields, TypedYearKeepsEachKeyAndIsStored)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);  // Grandpa, 07.12 1950
    HWND year = ::GetDlgItem(ed, kYear);
    Send(year, EM_SETSEL, 0, -1);
    // Each key is stored and the field is refilled with the same number, so
    // the caret stays where typing left it.
    for (const char* want : {"1", "19", "197", "1975"}) {
        Send(year, WM_CHAR, static_cast<WPARAM>(want[std::strlen(want) - 1]), 1);
        EXPECT_EQ(App::Text(ed, kYear), want);
    }
    // The field takes digits only.
    Send(year, WM_CHAR, L'x', 1);
    EXPECT_EQ(App::Text(ed, kYear), "1975");

    Exit(ed);
    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "07.12 1975 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n");
    ExpectReportFor(7, 12);
}

TEST_F(EditorFields, EmptiedYearAsksForAnIntegerAndKeepsTheOldYear)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);  // Grandpa, 07.12 1950
    HWND year = ::GetDlgItem(ed, kYear);
    Send(year, EM_SETSEL, 0, -1);
    e2e::Probe probe(app);
    ::PostMessageW(year, WM_CHAR, VK_BACK, 1);  // the box it opens is modal: do not wait

    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(App::MessageBoxText(box), "Please enter an integer.");
    EXPECT_EQ(probe.MessageBoxIcon(box), MB_ICONEXCLAMATION);
    App::Answer(box, IDOK);
    ASSERT_TRUE(app.WaitNoMessageBox());
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "1950", true, 1, false, "Grandpa"}));

    Exit(ed);
    EXPECT_EQ(Saved(), kFour);
}

TEST_F(EditorFields, NoAgeTickedStores8888AndClearedStores1900)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);  // Grandpa, 07.12 1950

    App::Click(ed, kNoAge);
    EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "8888", false, 1, true, "Grandpa"}));
    App::Click(ed, kNext);
    App::Click(ed, kPrev);
    EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "8888", false, 1, true, "Grandpa"}));

    App::Click(ed, kLast);  // Anna, 15.03 8888
    App::Click(ed, kNoAge);
    EXPECT_EQ(Read(ed), (Shown{"4/4", 14, 2, "1900", true, 1, false, "Anna"}));

    Exit(ed);
    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "07.12 8888 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 1900 Anna\r\n");
    ExpectReportFor(15, 3);
}

TEST_F(EditorFields, TypeSwitchesBetweenHolidayAndTheYearInTheField)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);  // Hromnice, a calendar entry: any change makes it a holiday
    App::Click(ed, kHoliday);
    EXPECT_EQ(Read(ed), (Shown{"1/4", 1, 1, "0", false, 0, false, "Hromnice"}));
    App::Click(ed, kNext);  // Grandpa becomes a holiday
    App::Click(ed, kHoliday);
    EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "1950", false, 0, false, "Grandpa"}));
    App::Click(ed, kNext);  // Christmas Eve becomes an anniversary of the year shown
    App::Click(ed, kAnniversary);
    EXPECT_EQ(Read(ed), (Shown{"3/4", 23, 11, "9999", true, 1, false, "Christmas Eve"}));

    Exit(ed);
    // The first record's year is no longer "0000", so the custom header moves up.
    EXPECT_EQ(Saved(), std::string(kHeader) + kCustom + "02.02 9999 Hromnice\r\n" +
                           "07.12 9999 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n");
    ExpectReportFor(24, 12);
}

TEST_F(EditorFields, NameIsStoredInCodePage1250AndOtherLettersAsQuestionMarks)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kLast);  // Anna
    SetText(ed, kName, L"Anna \u0158\u00ED\u010Dn\u00E1");  // Czech letters
    App::Click(ed, kPrev);
    SetText(ed, kName, L"Christmas Eve \u0416");  // a Cyrillic letter cp1250 lacks
    App::Click(ed, kPrev);
    TypeOver(ed, kName, L"Grandpa Jos\u00E9");
    EXPECT_EQ(App::Text(ed, kName), "Grandpa Jos\xE9");

    Exit(ed);
    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "07.12 1950 Grandpa Jos\xE9\r\n24.12 9999 Christmas Eve ?\r\n"
                           "15.03 8888 Anna \xD8\xED\xE8n\xE1\r\n");
}

// ---------------------------------------------------------------------------

using EditorNewDelete = EditorTest;

TEST_F(EditorNewDelete, NewRecordShowsDefaultsAndIsWrittenOnItsFirstChange)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kNew);
    EXPECT_EQ(Read(ed), (Shown{"5/5", 0, 0, "1900", true, 1, false, ""}));
    App::Click(ed, kNew);  // left untouched: saved as four empty fields
    EXPECT_EQ(App::Text(ed, kPosition), "6/6");
    App::Click(ed, kPrev);
    Select(ed, kDay, 23);  // the first change writes all four fields
    EXPECT_EQ(Read(ed), (Shown{"5/6", 23, 0, "1900", true, 1, false, ""}));

    Exit(ed);
    EXPECT_EQ(Saved(), kFour + "24.01 1900 \r\n.  \r\n");
    ExpectReportFor(24, 1);
}

TEST_F(EditorNewDelete, DeleteAsksAndOnlyYesDeletes)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);  // Grandpa

    e2e::Probe probe(app);
    const auto answer = [&](int button) {
        App::ClickAsync(ed, kDelete);
        HWND box = app.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(App::MessageBoxText(box), "Do you really want to delete this anniversary?");
        EXPECT_EQ(probe.MessageBoxIcon(box), MB_ICONQUESTION);
        EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
        EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
        EXPECT_EQ(::GetDlgItem(box, IDOK), nullptr);
        App::Answer(box, button);
        ASSERT_TRUE(app.WaitNoMessageBox());
        ASSERT_TRUE(app.Sync());
    };

    answer(IDNO);
    EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "1950", true, 1, false, "Grandpa"}));

    answer(IDYES);  // the record that followed takes the place
    EXPECT_EQ(Read(ed), (Shown{"2/3", 23, 11, "9999", false, 0, false, "Christmas Eve"}));
    App::Click(ed, kLast);
    answer(IDYES);  // after the last one, the new last
    EXPECT_EQ(Read(ed), (Shown{"2/2", 23, 11, "9999", false, 0, false, "Christmas Eve"}));

    Exit(ed);
    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "24.12 9999 Christmas Eve\r\n");
    ExpectReportFor(24, 12);
}

TEST_F(EditorNewDelete, DeletingTheOnlyRecordLeavesNothingShown)
{
    StartWith(std::string(kHeader) + kCustom + "07.12 1950 Grandpa\r\n");
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::ClickAsync(ed, kDelete);
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    App::Answer(box, IDYES);
    ASSERT_TRUE(app.WaitNoMessageBox());
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(Read(ed), (Shown{"0/0", 0, 0, "1900", true, 1, false, ""}));

    // With nothing shown, Delete neither asks nor changes anything.
    App::Click(ed, kDelete);
    EXPECT_EQ(app.FindDialogWith(0), nullptr);

    Exit(ed);
    EXPECT_EQ(Saved(), kHeader);
    EXPECT_EQ(app.Text(1000), EnglishWeekday(1, 1) + ", January  1, " + std::to_string(ThisYear()));
}

// ---------------------------------------------------------------------------

struct CloseWay {
    const char* name;
    void (*close)(HWND editor);
};

class EditorClose : public EditorTest, public ::testing::WithParamInterface<CloseWay> {};

// Exit, Esc and the close box end the editor alike: the changes stand, the
// file is written and the report is rebuilt for the record last shown.
TEST_P(EditorClose, SavesAndRebuildsTheReport)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kLast);  // Anna, 15.03
    SetText(ed, kName, L"Anna Nov\u00E1");
    GetParam().close(ed);
    WaitClosed(ed);
    EXPECT_TRUE(app.Running());

    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "07.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna Nov\xE1\r\n");
    EXPECT_EQ(app.Text(1000), EnglishWeekday(15, 3) + ", March  15, " + std::to_string(ThisYear()));
    ExpectReportFor(15, 3);
    EXPECT_NE(app.Text(1003).find("Anna Nov\xE1"), std::string::npos);

    // The editor opens again where it was left.
    ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::Text(ed, kPosition), "4/4");
}

INSTANTIATE_TEST_SUITE_P(
    Editor, EditorClose,
    ::testing::Values(CloseWay{"Exit", [](HWND ed) { App::ClickAsync(ed, IDOK); }},
                      CloseWay{"Esc", [](HWND ed) { App::Key(ed, VK_ESCAPE); }},
                      CloseWay{"CloseBox", [](HWND ed) { ::PostMessageW(ed, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

using EditorSave = EditorTest;

TEST_F(EditorSave, FailedSaveIsReportedAndTheNextCloseSavesTheKeptChanges)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    App::Click(ed, kNext);
    Select(ed, kDay, 9);  // Grandpa moves to 10.12

    // Another process holds the data file open without sharing.
    HANDLE held = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    App::ClickAsync(ed, IDOK);
    // The box comes after the editor has gone; a dialog caught half destroyed
    // would pass for a message box.
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(ed); }));
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(App::MessageBoxText(box), "Error: Can't write file Tolvari.dat\n\nYour changes are kept. "
                                        "Close the editor again to save them.");
    EXPECT_EQ(e2e::Probe(app).MessageBoxIcon(box), MB_ICONHAND);
    App::Answer(box, IDOK);
    ASSERT_TRUE(app.WaitNoMessageBox());
    ::CloseHandle(held);

    // The program stays open, the file as it was.
    ASSERT_TRUE(app.Sync());
    EXPECT_FALSE(app.WaitExit(500));
    EXPECT_EQ(Saved(), kFour);
    EXPECT_EQ(app.Text(1000), EnglishWeekday(10, 12) + ", December  10, " + std::to_string(ThisYear()));

    ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);  // closing on another record moves the day again
    Exit(ed);
    EXPECT_EQ(Saved(), std::string(kHeader) + "02.02 0000 Hromnice\r\n" + kCustom +
                           "10.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n");
    ExpectReportFor(2, 2);
}

// ---------------------------------------------------------------------------

using EditorToolTips = EditorTest;

struct FindTip {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindTipProc(HWND hwnd, LPARAM lParam)
{
    auto* d = reinterpret_cast<FindTip*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[64] = L"";
    ::GetClassNameW(hwnd, cls, 64);
    // A versioned class name ("6.0...!tooltips_class32") counts too.
    const wchar_t* bang = wcschr(cls, L'!');
    if (owner == d->pid && _wcsicmp(bang ? bang + 1 : cls, TOOLTIPS_CLASSW) == 0 &&
        ::IsWindowVisible(hwnd)) {
        d->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The program's visible tooltip window, if one shows.
HWND VisibleToolTip(DWORD pid)
{
    FindTip data = {pid, nullptr};
    ::EnumWindows(&FindTipProc, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

// The mouse resting on a bitmap button brings up its tooltip: the program
// relays the editor's mouse messages to the tooltip control.
TEST_F(EditorToolTips, HoveringAButtonShowsItsText)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    const std::pair<int, const char*> buttons[] = {
        {kFirst, "First"}, {kNext, "Next"}, {kNew, "Add empty anniversary"}, {kDelete, "Delete anniversary"}};
    for (const auto& [id, text] : buttons) {
        RECT r = {};
        ::GetWindowRect(::GetDlgItem(ed, id), &r);
        ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        std::string shown;
        WaitUntil([&] {
            HWND tip = VisibleToolTip(app.Pid());
            shown = tip ? e2e::ToCp1250(App::WindowTextW(tip)) : std::string();
            return shown == text;
        }, 5000);
        EXPECT_EQ(shown, text) << id;
    }
    ::SetCursorPos(0, 0);
}

// The tools as the program's own thread sees them: one per bitmap button,
// covering the whole button, in one tooltip control of the editor.
TEST_F(EditorToolTips, OneToolPerBitmapButtonWithItsEnglishText)
{
    StartWith(kFour);
    HWND ed = Open();
    ASSERT_NE(ed, nullptr);
    e2e::Probe probe(app);
    ASSERT_TRUE(probe.Attached());
    const std::vector<e2e::Tool> tools = probe.ToolTips(ed);
    const std::pair<int, const wchar_t*> want[] = {
        {kFirst, L"First"}, {kPrev, L"Previous"}, {kNext, L"Next"}, {kLast, L"Last"},
        {kNew, L"Add empty anniversary"}, {kDelete, L"Delete anniversary"}};
    ASSERT_EQ(tools.size(), 6u);
    for (size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(tools[i].window, ::GetDlgItem(ed, want[i].first)) << i;
        EXPECT_EQ(tools[i].text, want[i].second) << i;
        EXPECT_TRUE(tools[i].flags & TTF_IDISHWND) << i;
        EXPECT_EQ(tools[i].owner, ed) << i;
        EXPECT_EQ(tools[i].tooltip, tools[0].tooltip) << i;
    }

    // A second opening builds its tooltips afresh.
    App::Click(ed, IDOK);
    WaitClosed(ed);
    ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(probe.ToolTips(ed).size(), 6u);
}

}  // namespace
