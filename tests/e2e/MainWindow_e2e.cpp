// The main window on the fixed day: the report against hand-written texts,
// the steps, the fonts the settings describe, the end. Its failure boxes are
// in Faults_e2e.cpp and Placement_e2e.cpp.
#include <gtest/gtest.h>

#include "Driver.h"
#include "res/resource.h"

using e2e::App;
using Report = std::vector<std::string>;

// Around Sunday, 6 December 2026, in code page 1250.
const char kData[] =
    "[***CALENDAR***]\r\n06.12 0000 Mikul\xE1\x9A\r\n07.12 0000 Ambro\x9E\r\n08.12 0000 Kv\xECtoslava\r\n"
    "13.12 0000 Lucie\r\n14.12 0000 Lenka\r\n\r\n[***CUSTOM***]\r\n09.12 9999 Ninth\r\n06.12 1950 Grandpa\r\n"
    "06.12 2026 Baby\r\n06.12 9999 Holiday A\r\n07.12 1990 Jan\r\n06.12 8888 Godmother\r\n06.12 9999 Holiday B\r\n"
    "08.12 8888 Eighth\r\n05.12 9999 Eve\r\n";

TEST(MainWindow, OpensOnTheDayOfTheClockAndSteps)
{
    e2e::TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, kData));
    EXPECT_EQ(e2e::ReportShown(app), (Report{"Sunday, December  6, 2026", "Mikul\xE1\x9A", "Holiday A\r\nHoliday B",
                                             "Grandpa (76 let)\r\nBaby (0 let)\r\nGodmother",
                                             "Ninth\r\nJan, Eighth\r\nAmbro\x9E, Kv\xECtoslava, Lucie"}));
    app.Click(IDC_TODAY_TOMORROW);
    EXPECT_EQ(e2e::ReportShown(app), (Report{"Monday, December  7, 2026", "Ambro\x9E", "", "Jan (36 let)",
                                             "Ninth\r\nEighth\r\nKv\xECtoslava, Lucie, Lenka"}));
    app.Click(IDC_TODAY_YESTERDAY);  // twice
    app.Click(IDC_TODAY_YESTERDAY);
    EXPECT_EQ(e2e::ReportShown(app), (Report{"Saturday, December  5, 2026", "", "Eve", "",
                                             "Holiday A, Holiday B, Ninth\r\nGrandpa, Baby, Godmother, Jan, Eighth\r\n"
                                             "Mikul\xE1\x9A, Ambro\x9E, Kv\xECtoslava"}));
    App::Click(app.Main(), IDOK, false);  // Exit: the end, nothing written
    EXPECT_EQ(app.ExitCode(), 0u);
    EXPECT_EQ(dir.List(), (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
}

// Font 1 for the date and calendar lines, font 2 for the rest; a face name
// is cut to the 31 characters a font holds; a height is pixels at 96 DPI and
// grows with the screen's (no early return: the prefix must end at 96). The
// data file's name is in code page 1250, which takes the wide file API.
TEST(MainWindow, FieldsTakeTheFontsTheSettingsDescribe)
{
    e2e::TempDir dir;
    dir.Write(L"Tolvari.ini", "FILE=Dvo\xF8\xE1k.dat\r\nFONT1=" + std::string(1 << 20, '\xE8') +
                                  "\r\nFACE1=ITALIC\r\nSIZE1=30\r\nFONT2=Courier New\r\nFACE2=BOLD\r\nSIZE2=-20\r\n");
    dir.Write(L"Dvo\u0159\u00E1k.dat", "06.12 9999 Holiday\r\n");
    for (DWORD dpi : {144u, 96u}) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
        App app;
        ASSERT_TRUE(app.Start(dir.Path(), true) && app.WaitMainWindow());
        EXPECT_EQ(app.Text(IDC_TODAY_HOLIDAYS), "Holiday");
        for (int id : {IDC_TODAY_DNES, IDC_TODAY_CALENDAR, IDC_TODAY_HOLIDAYS, IDC_TODAY_BIRTHDAYS, IDC_TODAY_NEXTDAYS})
            EXPECT_EQ(e2e::FontOf(::GetDlgItem(app.Main(), id)),
                      id < IDC_TODAY_HOLIDAYS
                          ? std::string(31, '\xE8') + " " + std::to_string(30 * dpi / 96) + " 400 italic"
                          : "Courier New " + std::to_string(-20 * int(dpi) / 96) + " 800")
                << id << " at " << dpi << " DPI";
        ::PostMessageW(app.Main(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
        EXPECT_EQ(app.ExitCode(), 0u);
    }
}
