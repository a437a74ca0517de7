// The record editor, driven the way a user drives it: opened from the main
// window's system menu, paged through, edited, closed; then the data file on
// disk and the main window's report are checked against the core.
#include "Driver.h"
#include "Probe.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <tuple>
#include <vector>

namespace {

using e2e::App;
using e2e::SendBounded;
using e2e::TempDir;

enum : int {
    kFirst = 1005, kPrev = 1006, kNext = 1007, kLast = 1008, kNew = 1009, kDelete = 1011,
    kDay = 1012, kPosition = 1013, kMonth = 1014, kYear = 1015, kHoliday = 1016, kAnniversary = 1017,
    kName = 1018, kNoAge = 1019,
};

const std::string kHeader = "[***CALENDAR***]\r\n";
const std::string kCustom = "\r\n[***CUSTOM***]\r\n";
// One record of each kind: calendar entry, anniversary, holiday, no age.
const std::string kFour = kHeader + "02.02 0000 Hromnice\r\n" + kCustom +
                          "07.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n";

// Everything the editor shows of one record: position, day and month list
// indices, year, year enabled, type (0 Holiday, 1 Anniversary, -1 none),
// no age, name.
using Shown = std::tuple<std::string, int, int, std::string, bool, int, bool, std::string>;

const Shown kGrandpa{"2/4", 6, 11, "1950", true, 1, false, "Grandpa"};

bool Checked(HWND ed, int id)
{
    return SendBounded(::GetDlgItem(ed, id), BM_GETCHECK) == BST_CHECKED;
}

Shown Read(HWND ed)
{
    return Shown{App::Text(ed, kPosition),
                 static_cast<int>(SendBounded(::GetDlgItem(ed, kDay), CB_GETCURSEL)),
                 static_cast<int>(SendBounded(::GetDlgItem(ed, kMonth), CB_GETCURSEL)),
                 App::Text(ed, kYear),
                 ::IsWindowEnabled(::GetDlgItem(ed, kYear)) != FALSE,
                 Checked(ed, kHoliday) ? 0 : Checked(ed, kAnniversary) ? 1 : -1,
                 Checked(ed, kNoAge),
                 App::Text(ed, kName)};
}

// A user's pick in a drop-down list: the selection, then its notification.
void Select(HWND ed, int id, int index)
{
    HWND list = ::GetDlgItem(ed, id);
    SendBounded(list, CB_SETCURSEL, static_cast<WPARAM>(index));
    SendBounded(ed, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Replaces the whole text at once, as pasting over a selection would.
void SetText(HWND ed, int id, const std::wstring& text)
{
    SendBounded(::GetDlgItem(ed, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

const int kThisYear = [] { SYSTEMTIME st = {}; ::GetLocalTime(&st); return static_cast<int>(st.wYear); }();

struct EditorTest : ::testing::Test {
    HWND StartAndOpen(const std::string& data)
    {
        EXPECT_TRUE(e2e::StartWith(app, dir, data));
        return Open();
    }
    HWND Open()
    {
        HWND ed = e2e::OpenBySysMenu(app, 32771, kNoAge);
        EXPECT_NE(ed, nullptr) << "the editor did not open";
        return ed;
    }
    void Exit(HWND ed)
    {
        App::Click(ed, IDOK);
        EXPECT_TRUE(e2e::WaitGone(ed)) << "the editor did not close";
        EXPECT_TRUE(app.Sync());
    }
    std::string Saved() const { return dir.Read(L"Tolvari.dat"); }
    // The main window shows the core's report of the saved records on that day.
    void ExpectReportFor(int day, int month)
    {
        EXPECT_EQ(e2e::ReportShown(app), e2e::CoreReport(Saved(), day, month, kThisYear));
    }
    // Delete, the question, the answer.
    void Delete(HWND ed, int answer)
    {
        App::ClickAsync(ed, kDelete);
        HWND box = app.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(App::MessageBoxText(box), "Do you really want to delete this anniversary?");
        EXPECT_EQ(e2e::Probe(app).MessageBoxIcon(box), MB_ICONQUESTION);
        EXPECT_TRUE(::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO) && !::GetDlgItem(box, IDOK));
        App::Answer(box, answer);
        ASSERT_TRUE(app.WaitNoMessageBox());
        ASSERT_TRUE(app.Sync());
    }

    TempDir dir;
    App app;
};

using EditorLayout = EditorTest;

TEST_F(EditorLayout, ControlsListsAndBitmapButtons)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::WindowTextW(ed), L"Edit anniversaries");
    EXPECT_EQ(::GetWindowLongW(ed, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_SYSMENU);
    const struct {
        int id;
        const wchar_t* cls;
        const char* text;
        LONG typeMask, type, flags;  // the kind within the type bits; bits that must be set
    } controls[] = {
        {kHoliday, L"Button", "Holiday", BS_TYPEMASK, BS_AUTORADIOBUTTON, WS_GROUP},
        {kAnniversary, L"Button", "Anniversary", BS_TYPEMASK, BS_AUTORADIOBUTTON, 0},
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
    for (const auto& c : controls) {
        SCOPED_TRACE(c.id);
        HWND hwnd = ::GetDlgItem(ed, c.id);
        ASSERT_NE(hwnd, nullptr);
        wchar_t cls[32] = L"";
        ::GetClassNameW(hwnd, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, c.cls), 0) << e2e::ToCp1250(cls);
        EXPECT_EQ(App::Text(ed, c.id), c.text ? c.text : App::Text(ed, c.id));
        const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        EXPECT_EQ(style & c.typeMask, c.type);
        EXPECT_EQ(style & c.flags, c.flags);
        // Bitmap buttons take the size of their 24 x 22 pictures.
        RECT r = {};
        ::GetClientRect(hwnd, &r);
        EXPECT_TRUE(c.type != BS_OWNERDRAW || (r.right == 24 && r.bottom == 22)) << r.right << " x " << r.bottom;
    }
    // Group boxes and the second line of the Anniversary label.
    std::vector<std::string> statics;
    for (HWND child = ::GetWindow(ed, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (::GetDlgCtrlID(child) == -1 || ::GetDlgCtrlID(child) == 0xFFFF)
            statics.push_back(e2e::ToCp1250(App::WindowTextW(child)));
    EXPECT_EQ(statics, (std::vector<std::string>{"Birthday", "Type", "Date", "Name"}));
    // The lists hold the zero-filled numbers in numeric order.
    for (const auto& [id, count] : {std::pair{kDay, 31}, {kMonth, 12}}) {
        HWND list = ::GetDlgItem(ed, id);
        ASSERT_EQ(SendBounded(list, CB_GETCOUNT), count) << id;
        for (int i = 0; i < count; ++i) {
            wchar_t item[8] = L"", want[8];
            ASSERT_LT(SendBounded(list, CB_GETLBTEXTLEN, i), 8);
            SendBounded(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            std::swprintf(want, 8, L"%02d", i + 1);
            EXPECT_STREQ(item, want) << id;
        }
    }
}

using EditorPaging = EditorTest;

// Paging shows each kind, never wraps and writes nothing.
TEST_F(EditorPaging, FirstPrevNextLastShowEachKindAndNeverWrap)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    const Shown calendar{"1/4", 1, 1, "0", false, 0, false, "Hromnice"};
    const Shown christmas{"3/4", 23, 11, "9999", false, 0, false, "Christmas Eve"};
    const Shown anna{"4/4", 14, 2, "8888", false, 1, true, "Anna"};
    const std::pair<int, Shown> steps[] = {
        {kFirst, calendar}, {kPrev, calendar}, {kNext, kGrandpa}, {kNext, christmas},
        {kNext, anna},      {kNext, anna},     {kPrev, christmas}, {kLast, anna},
        {kFirst, calendar}, {kLast, anna},     {kPrev, christmas}, {kPrev, kGrandpa},
    };
    for (const auto& [button, want] : steps) {
        App::Click(ed, button);
        EXPECT_EQ(Read(ed), want) << "after " << button;
    }
    Exit(ed);
    EXPECT_EQ(Saved(), kFour);
}

TEST_F(EditorPaging, OpensAtTheLastRecordOfTheDisplayedDay)
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char today[8];
    snprintf(today, sizeof today, "%02d.%02d", now.wDay, now.wMonth);
    HWND ed = StartAndOpen(kHeader + kCustom + today + " 1980 First\r\n" + today + " 1990 Second\r\n15.03 8888 Anna\r\n");
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::Text(ed, kPosition) + " " + App::Text(ed, kName), "2/3 Second");
}

class EditorEmpty : public EditorTest, public ::testing::WithParamInterface<bool> {};

// Opened on no records, or left with none by deleting the only one: nothing
// is shown, paging and Delete do nothing, the main window moves to 1 January.
TEST_P(EditorEmpty, ShowsNothingAndMovesTheDayToFirstJanuary)
{
    HWND ed = StartAndOpen(GetParam() ? kHeader + kCustom + "07.12 1950 Grandpa\r\n" : kHeader);
    ASSERT_NE(ed, nullptr);
    if (GetParam())
        Delete(ed, IDYES);
    for (int button : {0, +kFirst, +kPrev, +kNext, +kLast, +kDelete}) {
        if (button)
            App::Click(ed, button);
        EXPECT_EQ(Read(ed), (Shown{"0/0", 0, 0, "1900", true, 1, false, ""})) << button;
    }
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "Delete asked";
    Exit(ed);
    EXPECT_EQ(Saved(), kHeader);
    ExpectReportFor(1, 1);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorEmpty, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "OnlyRecordDeleted" : "EmptyFile"; });

// kFour with the three custom records as given.
std::string Four(const char* grandpa, const char* christmas, const char* anna)
{
    return kHeader + "02.02 0000 Hromnice\r\n" + kCustom + grandpa + "\r\n" + christmas + "\r\n" + anna + "\r\n";
}

// An edit on the records of kFour, the file it saves on Exit, and the day
// the main window then shows: that of the record last shown.
struct EditCase {
    const char* name;
    void (*edit)(EditorTest&, HWND);
    std::string saved;
    int day, month;
};

void ToGrandpa(HWND ed)
{
    App::Click(ed, kFirst);
    App::Click(ed, kNext);
}

const EditCase kEdits[] = {
    {"DayAndMonth",
     [](EditorTest&, HWND ed) {
         ToGrandpa(ed);
         Select(ed, kDay, 23);
         Select(ed, kMonth, 11);
         EXPECT_EQ(Read(ed), (Shown{"2/4", 23, 11, "1950", true, 1, false, "Grandpa"}));
     },
     Four("24.12 1950 Grandpa", "24.12 9999 Christmas Eve", "15.03 8888 Anna"), 24, 12},
    // Each key is stored and the field refilled with the same number, so the
    // caret stays where typing left it; the field takes digits only.
    {"TypedYear",
     [](EditorTest&, HWND ed) {
         ToGrandpa(ed);
         HWND year = ::GetDlgItem(ed, kYear);
         SendBounded(year, EM_SETSEL, 0, -1);
         for (const char* want : {"1", "19", "197", "1975"}) {
             SendBounded(year, WM_CHAR, static_cast<WPARAM>(want[std::strlen(want) - 1]), 1);
             EXPECT_EQ(App::Text(ed, kYear), want);
         }
         SendBounded(year, WM_CHAR, L'x', 1);
         EXPECT_EQ(App::Text(ed, kYear), "1975");
     },
     Four("07.12 1975 Grandpa", "24.12 9999 Christmas Eve", "15.03 8888 Anna"), 7, 12},
    {"EmptiedYearAsksForAnInteger",
     [](EditorTest& t, HWND ed) {
         ToGrandpa(ed);
         HWND year = ::GetDlgItem(ed, kYear);
         SendBounded(year, EM_SETSEL, 0, -1);
         e2e::Probe probe(t.app);
         ::PostMessageW(year, WM_CHAR, VK_BACK, 1);  // the box is modal: do not wait
         HWND box = t.app.WaitMessageBox();
         ASSERT_NE(box, nullptr);
         EXPECT_EQ(App::MessageBoxText(box), "Please enter an integer.");
         EXPECT_EQ(probe.MessageBoxIcon(box), MB_ICONEXCLAMATION);
         App::Answer(box, IDOK);
         ASSERT_TRUE(t.app.WaitNoMessageBox());
         ASSERT_TRUE(t.app.Sync());
         EXPECT_EQ(Read(ed), kGrandpa);
     },
     kFour, 7, 12},
    {"NoAgeTickedStores8888AndClearedStores1900",
     [](EditorTest&, HWND ed) {
         ToGrandpa(ed);
         App::Click(ed, kNoAge);
         const Shown noAge{"2/4", 6, 11, "8888", false, 1, true, "Grandpa"};
         EXPECT_EQ(Read(ed), noAge);
         App::Click(ed, kNext);
         App::Click(ed, kPrev);
         EXPECT_EQ(Read(ed), noAge);
         App::Click(ed, kLast);
         App::Click(ed, kNoAge);
         EXPECT_EQ(Read(ed), (Shown{"4/4", 14, 2, "1900", true, 1, false, "Anna"}));
     },
     Four("07.12 8888 Grandpa", "24.12 9999 Christmas Eve", "15.03 1900 Anna"), 15, 3},
    // A calendar entry changed becomes a holiday; an anniversary takes the
    // year in the field. Hromnice is no longer "0000", so the custom header moves up.
    {"TypeSwitchesBetweenHolidayAndTheYearInTheField",
     [](EditorTest&, HWND ed) {
         App::Click(ed, kFirst);
         App::Click(ed, kHoliday);
         EXPECT_EQ(Read(ed), (Shown{"1/4", 1, 1, "0", false, 0, false, "Hromnice"}));
         App::Click(ed, kNext);
         App::Click(ed, kHoliday);
         EXPECT_EQ(Read(ed), (Shown{"2/4", 6, 11, "1950", false, 0, false, "Grandpa"}));
         App::Click(ed, kNext);
         App::Click(ed, kAnniversary);
         EXPECT_EQ(Read(ed), (Shown{"3/4", 23, 11, "9999", true, 1, false, "Christmas Eve"}));
     },
     kHeader + kCustom + "02.02 9999 Hromnice\r\n07.12 9999 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n",
     24, 12},
    // Code page 1250 letters are stored as such, others as "?".
    {"NameInCodePage1250",
     [](EditorTest&, HWND ed) {
         App::Click(ed, kLast);
         SetText(ed, kName, L"Anna \u0158\u00ED\u010Dn\u00E1");
         App::Click(ed, kPrev);
         SetText(ed, kName, L"Christmas Eve \u0416");
         App::Click(ed, kPrev);
         HWND name = ::GetDlgItem(ed, kName);
         SendBounded(name, EM_SETSEL, 0, -1);
         for (wchar_t c : std::wstring(L"Grandpa Jos\u00E9"))
             SendBounded(name, WM_CHAR, c, 1);
         EXPECT_EQ(App::Text(ed, kName), "Grandpa Jos\xE9");
     },
     Four("07.12 1950 Grandpa Jos\xE9", "24.12 9999 Christmas Eve ?", "15.03 8888 Anna \xD8\xED\xE8n\xE1"), 7, 12},
    // A new record shows defaults; untouched it is saved as four empty
    // fields, the first change writes all four.
    {"NewRecords",
     [](EditorTest&, HWND ed) {
         App::Click(ed, kNew);
         EXPECT_EQ(Read(ed), (Shown{"5/5", 0, 0, "1900", true, 1, false, ""}));
         App::Click(ed, kNew);
         EXPECT_EQ(App::Text(ed, kPosition), "6/6");
         App::Click(ed, kPrev);
         Select(ed, kDay, 23);
         EXPECT_EQ(Read(ed), (Shown{"5/6", 23, 0, "1900", true, 1, false, ""}));
     },
     kFour + "24.01 1900 \r\n.  \r\n", 24, 1},
    // Only Yes deletes; the next record, or after the last the new last, shows.
    {"DeleteAsksAndOnlyYesDeletes",
     [](EditorTest& t, HWND ed) {
         ToGrandpa(ed);
         t.Delete(ed, IDNO);
         EXPECT_EQ(Read(ed), kGrandpa);
         t.Delete(ed, IDYES);
         EXPECT_EQ(Read(ed), (Shown{"2/3", 23, 11, "9999", false, 0, false, "Christmas Eve"}));
         App::Click(ed, kLast);
         t.Delete(ed, IDYES);
         EXPECT_EQ(Read(ed), (Shown{"2/2", 23, 11, "9999", false, 0, false, "Christmas Eve"}));
     },
     kHeader + "02.02 0000 Hromnice\r\n" + kCustom + "24.12 9999 Christmas Eve\r\n", 24, 12},
};

class EditorEdits : public EditorTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(EditorEdits, AreSavedOnExitAndTheReportFollows)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    GetParam().edit(*this, ed);
    Exit(ed);
    EXPECT_EQ(Saved(), GetParam().saved);
    ExpectReportFor(GetParam().day, GetParam().month);
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorEdits, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

class EditorClose : public EditorTest, public ::testing::WithParamInterface<e2e::CloseBy> {};

// Exit, Esc and the close box alike: the file is written, the report rebuilt
// for the record last shown, and the editor opens again where it was left.
TEST_P(EditorClose, SavesAndRebuildsTheReport)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kLast);
    SetText(ed, kName, L"Anna Nov\u00E1");
    e2e::CloseDialog(ed, GetParam());
    EXPECT_TRUE(e2e::WaitGone(ed));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(Saved(), Four("07.12 1950 Grandpa", "24.12 9999 Christmas Eve", "15.03 8888 Anna Nov\xE1"));
    ExpectReportFor(15, 3);
    EXPECT_NE(app.Text(1003).find("Anna Nov\xE1"), std::string::npos);
    ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(App::Text(ed, kPosition), "4/4");
}

INSTANTIATE_TEST_SUITE_P(Editor, EditorClose, ::testing::ValuesIn(e2e::kCloseWays),
                         [](const auto& info) { return std::string(e2e::CloseName(info.param)); });

using EditorSave = EditorTest;

// Another process holds the data file without sharing: the error box comes
// after the editor has gone, the program stays with the file as it was, and
// the next close saves the kept changes.
TEST_F(EditorSave, FailedSaveIsReportedAndTheNextCloseSavesTheKeptChanges)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    ToGrandpa(ed);
    Select(ed, kDay, 9);
    HANDLE held = ::CreateFileW(dir.File(L"Tolvari.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    App::ClickAsync(ed, IDOK);
    ASSERT_TRUE(e2e::WaitGone(ed));  // a dialog half destroyed would pass for a message box
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(App::MessageBoxText(box),
              "Error: Can't write file Tolvari.dat\n\nYour changes are kept. Close the editor again to save them.");
    EXPECT_EQ(e2e::Probe(app).MessageBoxIcon(box), MB_ICONHAND);
    App::Answer(box, IDOK);
    ASSERT_TRUE(app.WaitNoMessageBox());
    ::CloseHandle(held);
    ASSERT_TRUE(app.Sync());
    EXPECT_FALSE(app.WaitExit(500));
    EXPECT_EQ(Saved(), kFour);
    const std::string kept = Four("10.12 1950 Grandpa", "24.12 9999 Christmas Eve", "15.03 8888 Anna");
    EXPECT_EQ(e2e::ReportShown(app), e2e::CoreReport(kept, 10, 12, kThisYear));

    ed = Open();
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kFirst);
    Exit(ed);
    EXPECT_EQ(Saved(), kept);
    ExpectReportFor(2, 2);
}

using EditorToolTips = EditorTest;

BOOL CALLBACK FindTipProc(HWND hwnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[64] = L"";
    ::GetClassNameW(hwnd, cls, 64);
    const wchar_t* bang = wcschr(cls, L'!');  // "6.0...!tooltips_class32" counts too
    if (owner != found->first || _wcsicmp(bang ? bang + 1 : cls, TOOLTIPS_CLASSW) != 0 || !::IsWindowVisible(hwnd))
        return TRUE;
    found->second = hwnd;
    return FALSE;
}

// The mouse resting on a bitmap button brings up its tooltip: the program
// relays the editor's mouse messages to the tooltip control.
TEST_F(EditorToolTips, HoveringAButtonShowsItsText)
{
    HWND ed = StartAndOpen(kFour);
    ASSERT_NE(ed, nullptr);
    for (const auto& [id, text] : {std::pair{kFirst, "First"}, {kDelete, "Delete anniversary"}}) {
        RECT r = {};
        ::GetWindowRect(::GetDlgItem(ed, id), &r);
        ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        std::string shown;
        e2e::Eventually([&] {
            std::pair<DWORD, HWND> tip{app.Pid(), nullptr};
            ::EnumWindows(&FindTipProc, reinterpret_cast<LPARAM>(&tip));
            shown = tip.second ? e2e::ToCp1250(App::WindowTextW(tip.second)) : std::string();
            return shown == text;
        }, 5000);
        EXPECT_EQ(shown, text) << id;
    }
    ::SetCursorPos(0, 0);
}

// As the program's thread sees them: one tool per bitmap button, covering the
// whole button, in one tooltip control, built afresh for each opening.
TEST_F(EditorToolTips, OneToolPerBitmapButtonWithItsEnglishText)
{
    HWND ed = StartAndOpen(kFour);
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
    Exit(ed);
    ed = Open();
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(probe.ToolTips(ed).size(), 6u);
}

}  // namespace
