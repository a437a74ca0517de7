// The main window end to end: layout, the report of every day reached with
// Yesterday and Tomorrow, fonts and focus, system menu and icons, empty data,
// failures of the opening, closing without saving, the program file's
// resources. Expected texts come from the portable core.
#include "Driver.h"
#include "Probe.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"

#include <gtest/gtest.h>
#include <winver.h>

#include <algorithm>
#include <ctime>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::kDefaultIni;
using e2e::ClockDate;
using e2e::Probe;
using e2e::TempDir;

constexpr int kDnes = 1000, kYesterday = 1004, kTomorrow = 1005;
constexpr int kFields[] = {1000, 1001, 1002, 1003, 1007};

CurrentDate DaysAfter(CurrentDate date, int days)
{
    for (; days > 0; --days)
        date.NextDay();
    for (; days < 0; ++days)
        date.PrevDay();
    return date;
}

std::vector<std::string> Expected(const std::string& bytes, const CurrentDate& d)
{
    return e2e::CoreReport(bytes, d.m_nDay, d.m_nMonth, d.m_nYear);
}

// A realistic file around the given day: calendar entries at month and year
// ends, holidays, birthdays with and without years, entries on the coming
// days and beyond, Czech names, keys that never match, lines the reader skips.
std::string RichData(const CurrentDate& today)
{
    auto on = [&](int days) {
        const CurrentDate d = DaysAfter(today, days);
        return DayKey(d.m_nDay) + "." + DayKey(d.m_nMonth);
    };
    std::string s = "[***CALENDAR***]\r\n";
    static const char* const kCalendarLines[] = {
        "01.01 0000 Nov\xFD rok", "02.01 0000 Karina",     "31.01 0000 Mark\xE9ta", "01.02 0000 Hynek",
        "28.02 0000 Lum\xEDr",    "29.02 0000 Horym\xEDr", "01.03 0000 Bed\xF8ich", "31.03 0000 Kamil",
        "30.04 0000 Blahoslav",   "31.05 0000 Kamila",     "30.06 0000 Ivana",      "31.07 0000 Ign\xE1""c",
        "31.08 0000 Ivana",       "30.09 0000 Jeron\xFDm", "31.10 0000 Wolfgang",   "30.11 0000 Ond\xF8""ej",
        "24.12 0000 Adam",        "24.12 0000 Eva",        "31.12 0000 Silvestr",
    };
    for (const char* line : kCalendarLines)
        s += std::string(line) + "\r\n";
    // Tomorrow has it too, so a start just after midnight still shows it.
    s += on(0) + " 0000 Dvo\xF8\xE1k\r\n" + on(1) + " 0000 Dvo\xF8\xE1k\r\n";
    s += on(2) + " 0000 Jan\r\n" + on(2) + " 0000 Jana\r\n\r\n[***CUSTOM***]\r\n";
    static const char* const kCustomLines[] = {
        "01.01 9999 New Year's Day", "08.05 9999 Liberation Day", "28.10 9999 Independence Day",
        "24.12 9999 Christmas Eve", "25.12 9999 Christmas Day", "31.12 1950 Grandpa Silvestr",
        "01.01 1999 Millennium kid", "29.02 1960 Leap-day Lucie", "01.03 8888 Wedding day",
        "28.02 2004 \x8A\x9D""astn\xFD \x8Elu\x9Dou\xE8k\xFD", "5.3 0000 One-digit day",
        "05.3 0000 One-digit month", " 05.03 0000 Leading blank", "no dot at all",
        "[05.03 0000 Bracketed]", "05.03 1950", "05.03", "",
    };
    for (const char* line : kCustomLines)
        s += std::string(line) + "\r\n";
    s += on(0) + " 9999 State holiday\r\n" + on(0) + " 1950 Grandpa\r\n" + on(0) + " 8888 Wedding anniversary\r\n";
    s += on(0) + " " + std::to_string(today.m_nYear + 4) + " Not born yet\r\n";
    s += on(0) + " abc Year without digits\r\n" + on(0) + " 1975 Anna  Marie \r\n";
    s += on(1) + " 9999 Tomorrow's holiday\r\n" + on(3) + " 1980 Petr Nov\xE1k\r\n" + on(3) + " 9999 Third day\r\n";
    s += on(7) + " 8888 Seventh day\r\n" + on(8) + " 1990 Eighth day\r\n";
    return s;
}

// Face, height, weight, italic, underline: one comparable line.
std::string Font(const std::wstring& face, LONG height, LONG weight, bool italic)
{
    return e2e::ToCp1250(face) + " " + std::to_string(height) + " " + std::to_string(weight) +
           (italic ? " italic" : "");
}

std::string FontOf(Probe& probe, HWND window)
{
    const std::optional<LOGFONTW> f = probe.Font(window);
    if (!f)
        return "none";
    return Font(f->lfFaceName, f->lfHeight, f->lfWeight, f->lfItalic) + (f->lfUnderline ? " underline" : "");
}

// Starts the program and returns the day it shows: the clock's date before
// the start, or the next one if midnight passed meanwhile.
CurrentDate StartAndTakeToday(App& app, const TempDir& dir, const CurrentDate& before)
{
    EXPECT_TRUE(app.Start(dir.Path()));
    EXPECT_TRUE(app.WaitMainWindow());
    return app.Text(kDnes) == FormatDateLine(before, 0) ? before : ClockDate();
}

TEST(MainWindowOpening, LayoutLettersDialogFontAndFocus)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, RichData(ClockDate())));
    HWND main = app.Main();
    EXPECT_EQ(App::WindowTextW(main), L"Tolvari");
    const LONG style = ::GetWindowLongW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_SYSMENU);
    EXPECT_TRUE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    for (int id : kFields)
        EXPECT_EQ(::GetWindowLongW(::GetDlgItem(main, id), GWL_STYLE) & (ES_READONLY | ES_MULTILINE),
                  ES_READONLY | ES_MULTILINE) << id;
    EXPECT_EQ(app.Text(IDOK) + "|" + app.Text(kYesterday) + "|" + app.Text(kTomorrow), "Exit|Yesterday|Tomorrow");
    // Code page 1250 bytes reach the screen as the letters they stand for.
    EXPECT_EQ(App::WindowTextW(::GetDlgItem(main, 1001)), L"Dvo\u0159\u00e1k");

    // Buttons and group boxes keep the dialog font.
    Probe probe(app);
    const std::string dialogFont = FontOf(probe, main);
    EXPECT_EQ(dialogFont.rfind("MS Sans Serif ", 0), 0u) << dialogFont;
    int others = 0;
    for (HWND c = ::GetWindow(main, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (std::find(std::begin(kFields), std::end(kFields), ::GetDlgCtrlID(c)) == std::end(kFields)) {
            ++others;
            EXPECT_EQ(FontOf(probe, c), dialogFont) << e2e::ToCp1250(App::WindowTextW(c));
        }
    EXPECT_EQ(others, 7);  // three buttons, four group boxes
    EXPECT_EQ(probe.Focus(), IDOK);
    const e2e::ThreadState state = probe.State(main);
    EXPECT_EQ(state.active, main);
    EXPECT_TRUE(state.enabled);
}

TEST(MainWindowOpening, SystemMenuIconsAndCommonControls)
{
    TempDir dir;
    App app;
    const CurrentDate before = ClockDate();
    const std::string bytes = RichData(before);
    e2e::WriteDefaultFiles(dir, bytes);
    const CurrentDate today = StartAndTakeToday(app, dir, before);
    HWND main = app.Main();
    Probe probe(app);

    // Wine may put entries of its own above them; the program's are the last
    // four, and added once only.
    const std::vector<e2e::MenuItem> menu = probe.SystemMenu(main);
    ASSERT_GE(menu.size(), 4u);
    const e2e::MenuItem* last = &menu[menu.size() - 4];
    EXPECT_TRUE(last[0].separator && last[2].separator);
    EXPECT_FALSE(last[1].separator || last[3].separator);
    EXPECT_EQ(last[1].id, 32771u);
    EXPECT_EQ(last[1].text, L"&Edit anniversaries");
    EXPECT_EQ(last[3].id, 16u);
    EXPECT_EQ(last[3].text, L"&About Tolvari...");
    for (size_t i = 0; i + 4 < menu.size(); ++i)
        EXPECT_TRUE(menu[i].id != 32771u && menu[i].id != 16u) << i;

    // One program icon for both sizes and for dragging; minimised, the
    // window keeps it and works on after restoring.
    const e2e::WindowIcons icons = probe.Icons(main);
    EXPECT_NE(icons.bigIcon, nullptr);
    EXPECT_EQ(icons.smallIcon, icons.bigIcon);
    EXPECT_EQ(icons.dragIcon, icons.bigIcon);
    EXPECT_EQ(icons.bigSize.cx, ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(icons.bigSize.cy, ::GetSystemMetrics(SM_CYICON));
    ::ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(app.Sync());
    EXPECT_TRUE(::IsIconic(main));
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(probe.Icons(main).dragIcon, icons.bigIcon);
    ::ShowWindow(main, SW_RESTORE);
    ASSERT_TRUE(app.Sync());
    app.Click(kTomorrow);
    EXPECT_EQ(e2e::ReportShown(app), Expected(bytes, DaysAfter(today, 1)));

    // The version 6 common controls the manifest asks for are the ones loaded.
    std::wstring path = probe.CommonControlsPath();
    std::transform(path.begin(), path.end(), path.begin(), [](wchar_t c) { return std::towlower(c); });
    EXPECT_NE(path.find(L"common-controls"), std::wstring::npos) << e2e::ToCp1250(path);
    EXPECT_NE(path.find(L"_6.0."), std::wstring::npos) << e2e::ToCp1250(path);
}

// Over a year of Tomorrows, through month ends, a year end and a 29 February
// or its absence, then all the way back: every day equals the core's report.
TEST(MainWindowSweep, TomorrowAndYesterdayAcrossMonthAndYearEnds)
{
    const CurrentDate before = ClockDate();
    const std::string bytes = RichData(before);
    TempDir dir;
    e2e::WriteDefaultFiles(dir, bytes);
    App app;
    const CurrentDate today = StartAndTakeToday(app, dir, before);
    ASSERT_EQ(e2e::ReportShown(app), Expected(bytes, today));
    CurrentDate date = today;
    for (int step = -400; step < 400; ++step) {
        const bool forward = step < 0;
        app.Click(forward ? kTomorrow : kYesterday);
        forward ? date.NextDay() : date.PrevDay();
        ASSERT_EQ(e2e::ReportShown(app), Expected(bytes, date)) << "step " << step << ", " << FormatDateLine(date, 0);
    }
    EXPECT_EQ(date, today);
    // Stepping changes the texts, never the fonts.
    Probe probe(app);
    EXPECT_EQ(FontOf(probe, ::GetDlgItem(app.Main(), kDnes)), Font(L"Helvetica", 18, 800, true));
    EXPECT_EQ(FontOf(probe, ::GetDlgItem(app.Main(), 1007)), Font(L"Helvetica", 16, 400, false));
}

struct FontCase {
    const char* name;
    std::string ini;
    const wchar_t* dataFile;  // the name the settings give
    std::string font1, font2;
};

// 40 characters, Czech letters among them; the face name field keeps 31.
const char kLongFace[] = "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1""belsk\xE9 \xF3""dy 23456789";
static_assert(sizeof(kLongFace) - 1 == 40, "a 40-character face name");

const FontCase kFontCases[] = {
    {"Defaults", kDefaultIni, L"Tolvari.dat", Font(L"Helvetica", 18, 800, true), Font(L"Helvetica", 16, 400, false)},
    {"LongFaceBoldTwenty",
     std::string("FILE=days.txt\r\nFONT1=") + kLongFace +
         "\r\nFACE1=ITALIC\r\nSIZE1=-24\r\nFONT2=Arial\r\nFACE2=BOLD\r\nSIZE2=20\r\n",
     L"days.txt", Font(e2e::FromCp1250(std::string(kLongFace, 31)), -24, 400, true), Font(L"Arial", 20, 800, false)},
    {"WordsAsWritten",
     "[fonts]\r\nFILE=days.txt\r\nFONT1=Courier New \r\nFACE1=bold\r\nSIZE1=big\r\n"
     "FONT2=Times New Roman\r\nFACE2=BOLD_ITALIC\r\nSIZE2= 20px\r\n",
     L"days.txt", Font(L"Courier New ", 0, 400, false), Font(L"Times New Roman", 20, 800, true)},
};

class MainWindowFonts : public ::testing::TestWithParam<FontCase> {};

// Today's report in the two fonts the settings describe.
TEST_P(MainWindowFonts, FieldsGetTheFontsTheSettingsDescribe)
{
    const FontCase& c = GetParam();
    TempDir dir;
    const CurrentDate before = ClockDate();
    const std::string bytes = RichData(before);
    dir.Write(L"Tolvari.ini", c.ini);
    dir.Write(c.dataFile, bytes);
    App app;
    const CurrentDate today = StartAndTakeToday(app, dir, before);
    EXPECT_EQ(e2e::ReportShown(app), Expected(bytes, today));
    Probe probe(app);
    for (int id : kFields)
        EXPECT_EQ(FontOf(probe, ::GetDlgItem(app.Main(), id)), id == kDnes || id == 1001 ? c.font1 : c.font2) << id;
}

INSTANTIATE_TEST_SUITE_P(Settings, MainWindowFonts, ::testing::ValuesIn(kFontCases),
                         [](const auto& info) { return std::string(info.param.name); });

class MainWindowEmptyData : public ::testing::TestWithParam<const char*> {};

// Without records the opening stops before the report and the fonts; the
// buttons still step the day, only the date line then has text.
TEST_P(MainWindowEmptyData, FieldsStayEmptyInTheDialogFontAndButtonsWork)
{
    TempDir dir;
    const std::string bytes = GetParam();
    const CurrentDate before = ClockDate();
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, bytes));
    Probe probe(app);
    const std::string dialogFont = FontOf(probe, app.Main());
    EXPECT_EQ(e2e::ReportShown(app), std::vector<std::string>(5));
    app.Click(kTomorrow);
    const CurrentDate today = app.Text(kDnes) == FormatDateLine(DaysAfter(before, 1), 0) ? before : ClockDate();
    EXPECT_EQ(e2e::ReportShown(app), Expected(bytes, DaysAfter(today, 1)));
    app.Click(kYesterday);
    app.Click(kYesterday);
    EXPECT_EQ(e2e::ReportShown(app), Expected(bytes, DaysAfter(today, -1)));
    for (int id : kFields)
        EXPECT_EQ(FontOf(probe, ::GetDlgItem(app.Main(), id)), dialogFont) << id;
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "no message box";
}

INSTANTIATE_TEST_SUITE_P(Files, MainWindowEmptyData,
                         ::testing::Values("", "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\nno record here\r\n05.03 1950\r\n"));

std::vector<std::wstring> Sorted(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Each failure shows one error box (caption, stop icon, a lone OK) before the
// main window; after OK the program ends with code 0 having written nothing.
// Without both files, the quit request of the first box ends the second.
TEST(MainWindowFailure, MissingFilesShowOneErrorBoxAndEndQuietly)
{
    const std::string noIni = "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.";
    const std::string noDat = "\n\nThe file specified in Tolvari.ini in FILE section doesn't exist in the current directory.";
    const struct {
        const char* ini;  // null: no settings file
        bool data;
        std::string text;
    } cases[] = {
        {nullptr, true, noIni},
        {nullptr, false, noIni},
        {"FILE=missing.dat\r\nFONT1=Arial\r\n", true, "Error: Can't open file missing.dat" + noDat},
        {"FILE=Dvo\xF8\xE1k.dat\r\n", true, "Error: Can't open file Dvo\xF8\xE1k.dat" + noDat},
        {"FILE = spaced.dat\r\n", true, "Error: Can't open file  spaced.dat" + noDat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TempDir dir;
        if (c.ini)
            dir.Write(L"Tolvari.ini", c.ini);
        if (c.data)
            dir.Write(L"Tolvari.dat", RichData(ClockDate()));
        const std::vector<std::wstring> files = Sorted(dir.List());
        App app;
        ASSERT_TRUE(app.Start(dir.Path()));
        HWND box = app.WaitMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(App::MessageBoxText(box), c.text);
        EXPECT_EQ(App::WindowTextW(box), L"Tolvari");
        EXPECT_EQ(App::WindowTextW(::GetDlgItem(box, IDOK)), L"OK");
        for (int other : {IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE})
            EXPECT_EQ(::GetDlgItem(box, other), nullptr) << other;
        EXPECT_EQ(Probe(box).MessageBoxIcon(box), MB_ICONHAND);
        EXPECT_EQ(app.FindDialogWith(kYesterday), nullptr) << "main window shown";
        App::Answer(box, IDOK);
        EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
        EXPECT_EQ(Sorted(dir.List()), files);
        EXPECT_EQ(dir.Read(L"Tolvari.ini"), c.ini ? c.ini : "");
    }
}

class MainWindowClose : public ::testing::TestWithParam<e2e::CloseBy> {};

// Whichever way the window ends, after days of stepping, nothing is written.
TEST_P(MainWindowClose, EndsWithCodeZeroWithoutWritingAnything)
{
    TempDir dir;
    const std::string bytes = RichData(ClockDate());
    App app;
    ASSERT_TRUE(e2e::StartWith(app, dir, bytes));
    for (int id : {kTomorrow, kTomorrow, kTomorrow, kYesterday})
        app.Click(id);
    e2e::CloseDialog(app.Main(), GetParam());
    EXPECT_EQ(e2e::ExitCodeAfterWait(app), 0u);
    EXPECT_EQ(Sorted(dir.List()), (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), bytes);
    EXPECT_EQ(dir.Read(L"Tolvari.ini"), kDefaultIni);
}

INSTANTIATE_TEST_SUITE_P(Ways, MainWindowClose, ::testing::ValuesIn(e2e::kCloseWays),
                         [](const auto& info) { return std::string(e2e::CloseName(info.param)); });

std::wstring VersionString(const std::vector<char>& info, const std::wstring& name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(info.data(), (L"\\StringFileInfo\\040904b0\\" + name).c_str(),
                          reinterpret_cast<void**>(&value), &length) || !value)
        return L"(none)";
    return std::wstring(value, wcsnlen(value, length));
}

TEST(MainWindowProgramFile, VersionResourceSaysTwoFiveTwo)
{
    const std::wstring exe = e2e::TolvariExe();
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 2));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    for (const auto& [name, want] : {std::pair{L"FileVersion", L"2.5.2"}, {L"ProductVersion", L"2.5.2"},
                                     {L"ProductName", L"Tolvari"}, {L"OriginalFilename", L"Tolvari.exe"}})
        EXPECT_EQ(VersionString(info, name), want);
}

// Version 6 of the common controls is checked where it counts, in the
// running program.
TEST(MainWindowProgramFile, ManifestNamesTheProgramAndAsksForDpiAwareness)
{
    HMODULE exe = ::LoadLibraryExW(e2e::TolvariExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "no manifest";
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(exe, found))),
                               ::SizeofResource(exe, found));
    ::FreeLibrary(exe);
    for (const char* part : {"name=\"Tolvari\"", "version=\"2.5.2.0\"", ">true</dpiAware>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part << " in " << manifest;
}

}  // namespace
