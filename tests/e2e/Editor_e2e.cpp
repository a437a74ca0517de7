// The record editor from the main window's system menu: changes and a delete
// saved with their exact bytes, the delete question, an emptied year. Saves
// that fail are walked in Faults_e2e.cpp.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

using e2e::App;

const std::string kHead = "[***CALENDAR***]\r\n02.02 0000 Hromnice\r\n\r\n[***CUSTOM***]\r\n";
const std::string kData = kHead + "06.12 1950 Grandpa\r\n24.12 9999 Christmas Eve\r\n15.03 8888 Anna\r\n";

// A pick in a drop-down list: the selection, then its notification.
static void Select(HWND ed, int id, int index)
{
    e2e::Send(::GetDlgItem(ed, id), CB_SETCURSEL, index);
    e2e::Send(ed, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(ed, id)));
}

static std::string Shown(HWND ed)
{
    return App::Text(ed, IDC_EDIT_POSITION) + " '" + App::Text(ed, IDC_EDIT_NAME) + "'";
}

// Waits until the editor has closed, the file is saved and the report rebuilt.
static ::testing::AssertionResult Closed(const App& app, HWND ed)
{
    return ::testing::AssertionResult(e2e::Eventually([&] { return !::IsWindow(ed); }) && app.Sync());
}

TEST(Editor, ChangesAndADeleteAreSavedWithTheirBytes)
{
    e2e::TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    HWND ed = e2e::OpenBySysMenu(app, L'e', IDC_EDIT_NAME);
    EXPECT_EQ(Shown(ed), "2/4 'Grandpa'") << "the last record of the displayed day";
    for (int answer : {IDNO, IDYES}) {
        App::Click(ed, IDC_EDIT_DELETE, false);
        HWND box = app.WaitMessageBox();
        EXPECT_EQ(App::MessageBoxText(box) + App::Text(box, IDYES) + App::Text(box, IDNO),
                  "Do you really want to delete this anniversary?&Yes&No");
        App::Click(box, answer, false);
        EXPECT_TRUE(e2e::Eventually([&] { return !::IsWindow(box); }));
        EXPECT_EQ(Shown(ed), answer == IDNO ? "2/4 'Grandpa'" : "2/3 'Christmas Eve'");
    }
    App::Click(ed, IDC_EDIT_LAST);
    e2e::Send(::GetDlgItem(ed, IDC_EDIT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Anna Nov\u00E1"));
    App::Click(ed, IDC_EDIT_NEW);
    EXPECT_EQ(Shown(ed), "4/4 ''");
    e2e::Send(::GetDlgItem(ed, IDC_EDIT_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Eva"));
    Select(ed, IDC_EDIT_DAY, 23);
    Select(ed, IDC_EDIT_MONTH, 11);
    // An emptied year gets the warning; the entry keeps its year, which the field shows again.
    e2e::Send(::GetDlgItem(ed, IDC_EDIT_YEAR), EM_SETSEL, 0, -1);
    ::PostMessageW(::GetDlgItem(ed, IDC_EDIT_YEAR), WM_CHAR, VK_BACK, 1);
    HWND box = app.WaitMessageBox();
    EXPECT_EQ(App::MessageBoxText(box), "Please enter an integer.");
    App::Click(box, IDOK, false);
    EXPECT_TRUE(e2e::Eventually([&] { return !::IsWindow(box) && App::Text(ed, IDC_EDIT_YEAR) == "1900"; }));
    ::PostMessageW(ed, WM_KEYDOWN, VK_ESCAPE, 1);  // Esc closes and saves, as Exit does
    ASSERT_TRUE(Closed(app, ed));
    EXPECT_EQ(dir.Read(L"Tolvari.dat"),
              kHead + "24.12 9999 Christmas Eve\r\n15.03 8888 Anna Nov\xE1\r\n24.12 1900 Eva\r\n");
    EXPECT_EQ(e2e::ReportShown(app), (std::vector<std::string>{"Thursday, December  24, 2026", "", "Christmas Eve",
                                                               "Eva (126 let)", "\r\n\r\n"}));
    EXPECT_EQ(dir.List(), (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
}
