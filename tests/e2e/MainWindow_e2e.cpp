// The main window end to end: the report of today and of every day reached
// with Yesterday and Tomorrow, the fonts and the focus of the opening, the
// system menu and icons, a data file without records, the failures of the
// opening, closing without saving, and the resources of the program file.
// Expected texts come from the portable core, fed the same bytes and date.
#include "Driver.h"
#include "Probe.h"

#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

#include <gtest/gtest.h>
#include <winver.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <ctime>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::Probe;
using e2e::TempDir;

constexpr int kDnes = 1000, kCalendar = 1001, kHolidays = 1002, kBirthdays = 1003, kYesterday = 1004,
              kTomorrow = 1005, kNextDays = 1007;
constexpr int kFields[] = {kDnes, kCalendar, kHolidays, kBirthdays, kNextDays};
constexpr UINT kEditCommand = 32771;
constexpr UINT kAboutCommand = 16;

const char kDefaultIni[] = "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
                           "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n";

// ---------------------------------------------------------------------------
// Dates and expected reports

CurrentDate ClockDate()
{
    const std::time_t now = std::time(nullptr);
    CurrentDate date;
    date.SetDateFromClock(*std::localtime(&now));
    return date;
}

CurrentDate DaysAfter(CurrentDate date, int days)
{
    for (; days > 0; --days)
        date.NextDay();
    for (; days < 0; ++days)
        date.PrevDay();
    return date;
}

std::string Key(const CurrentDate& date)
{
    return DayKey(date.m_nDay) + "." + DayKey(date.m_nMonth);
}

// The records the program reads from these bytes, by the core's own reader.
struct Records {
    explicit Records(const std::string& bytes)
    {
        list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    }
    RecordList list;
};

DayReportTexts ExpectedReport(const Records& records, const CurrentDate& date)
{
    DayReportTexts texts;
    BuildDayReport(records.list, date, 0, texts);
    return texts;
}

// A realistic file around the given day: a fixed calendar with entries at
// month and year ends, holidays, birthdays with and without years, entries
// on each of the coming days and beyond, Czech names, records whose
// one-digit keys never show, and lines the reader skips.
std::string RichData(const CurrentDate& today)
{
    auto on = [&](int days) { return Key(DaysAfter(today, days)); };
    std::string s = "[***CALENDAR***]\r\n";
    static const char* const kCalendarLines[] = {
        "01.01 0000 Nov\xFD rok",      "02.01 0000 Karina",     "31.01 0000 Mark\xE9ta",
        "01.02 0000 Hynek",            "28.02 0000 Lum\xEDr",   "29.02 0000 Horym\xEDr",
        "01.03 0000 Bed\xF8ich",       "31.03 0000 Kamil",      "30.04 0000 Blahoslav",
        "31.05 0000 Kamila",           "30.06 0000 Ivana",      "31.07 0000 Ign\xE1""c",
        "31.08 0000 Ivana",            "30.09 0000 Jeron\xFDm", "31.10 0000 Wolfgang",
        "30.11 0000 Ond\xF8""ej",      "24.12 0000 Adam",       "24.12 0000 Eva",
        "31.12 0000 Silvestr",
    };
    for (const char* line : kCalendarLines)
        s += std::string(line) + "\r\n";
    // The displayed day's calendar entry; the day after has it as well, so
    // that a start just after midnight still shows it.
    s += on(0) + " 0000 Dvo\xF8\xE1k\r\n";
    s += on(1) + " 0000 Dvo\xF8\xE1k\r\n";
    s += on(2) + " 0000 Jan\r\n" + on(2) + " 0000 Jana\r\n";
    s += "\r\n[***CUSTOM***]\r\n";
    static const char* const kCustomLines[] = {
        "01.01 9999 New Year's Day",     "08.05 9999 Liberation Day", "28.10 9999 Independence Day",
        "24.12 9999 Christmas Eve",      "25.12 9999 Christmas Day",  "31.12 1950 Grandpa Silvestr",
        "01.01 1999 Millennium kid",     "29.02 1960 Leap-day Lucie", "01.03 8888 Wedding day",
        "28.02 2004 \x8A\x9D""astn\xFD \x8Elu\x9Dou\xE8k\xFD",
        // One-digit and padded keys are loaded but never fall on a day.
        "5.3 0000 One-digit day",        "05.3 0000 One-digit month", " 05.03 0000 Leading blank",
        // The reader skips these.
        "no dot at all",                 "[05.03 0000 Bracketed]",    "05.03 1950",
        "05.03",                         "",
    };
    for (const char* line : kCustomLines)
        s += std::string(line) + "\r\n";
    s += on(0) + " 9999 State holiday\r\n";
    s += on(0) + " 1950 Grandpa\r\n";
    s += on(0) + " 8888 Wedding anniversary\r\n";
    s += on(0) + " " + std::to_string(today.m_nYear + 4) + " Not born yet\r\n";
    s += on(0) + " abc Year without digits\r\n";
    s += on(0) + " 1975 Anna  Marie \r\n";
    s += on(1) + " 9999 Tomorrow's holiday\r\n";
    s += on(3) + " 1980 Petr Nov\xE1k\r\n" + on(3) + " 9999 Third day\r\n";
    s += on(7) + " 8888 Seventh day\r\n";
    s += on(8) + " 1990 Eighth day\r\n";
    return s;
}

// ---------------------------------------------------------------------------
// Reading the window

struct ShownReport {
    std::string dnes, calendar, holidays, birthdays, nextDays;
};

ShownReport ReadReport(const App& app)
{
    return ShownReport{app.Text(kDnes), app.Text(kCalendar), app.Text(kHolidays), app.Text(kBirthdays),
                       app.Text(kNextDays)};
}

::testing::AssertionResult SameReport(const ShownReport& shown, const DayReportTexts& expected)
{
    const struct {
        const char* field;
        const std::string& shown;
        const std::string& expected;
    } rows[] = {
        {"1000 date line", shown.dnes, expected.m_showDnes},
        {"1001 calendar", shown.calendar, expected.m_showCalendar},
        {"1002 holidays", shown.holidays, expected.m_showHolidays},
        {"1003 birthdays", shown.birthdays, expected.m_showBirthdays},
        {"1007 next days", shown.nextDays, expected.m_showNextDays},
    };
    for (const auto& row : rows) {
        if (row.shown != row.expected)
            return ::testing::AssertionFailure() << "field " << row.field << ": shows \"" << row.shown
                                                 << "\", expected \"" << row.expected << "\"";
    }
    return ::testing::AssertionSuccess();
}

std::string DescribeFont(const std::optional<LOGFONTW>& font)
{
    if (!font)
        return "no font";
    return "\"" + e2e::ToCp1250(font->lfFaceName) + "\" height " + std::to_string(font->lfHeight) +
           " weight " + std::to_string(font->lfWeight) + (font->lfItalic ? " italic" : "") +
           (font->lfUnderline ? " underline" : "");
}

bool SameFont(const std::optional<LOGFONTW>& a, const std::optional<LOGFONTW>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->lfHeight == b->lfHeight && a->lfWeight == b->lfWeight && a->lfItalic == b->lfItalic &&
           a->lfUnderline == b->lfUnderline && std::wstring(a->lfFaceName) == b->lfFaceName;
}

LOGFONTW ReportFont(const std::wstring& face, LONG height, LONG weight, bool italic)
{
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    face.copy(font.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
    return font;
}

// Every child of the main window that is not a report field: the buttons
// and the group boxes.
std::vector<HWND> OtherControls(HWND main)
{
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (std::find(std::begin(kFields), std::end(kFields), id) == std::end(kFields))
            controls.push_back(child);
    }
    return controls;
}

// Starts the program and returns the day it shows: the clock's date just
// before the start, or, if midnight passed meanwhile, the date after it.
CurrentDate StartAndTakeToday(App& app, const TempDir& dir, const CurrentDate& before)
{
    EXPECT_TRUE(app.Start(dir.Path()));
    EXPECT_TRUE(app.WaitMainWindow());
    if (app.Text(kDnes) == FormatDateLine(before, 0))
        return before;
    return ClockDate();
}

// ---------------------------------------------------------------------------
// Opening on a realistic file with the default settings

class MainWindowOpening : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CurrentDate before = ClockDate();
        m_bytes = RichData(before);
        e2e::WriteDefaultFiles(m_dir, m_bytes);
        m_today = StartAndTakeToday(m_app, m_dir, before);
        ASSERT_TRUE(m_app.Main());
    }

    TempDir m_dir;
    App m_app;
    std::string m_bytes;
    CurrentDate m_today;
};

TEST_F(MainWindowOpening, ShowsTodaysReport)
{
    const Records records(m_bytes);
    EXPECT_TRUE(SameReport(ReadReport(m_app), ExpectedReport(records, m_today)));
    // The file really exercises every field.
    const DayReportTexts today = ExpectedReport(records, m_today);
    EXPECT_NE(today.m_showHolidays, "");
    EXPECT_NE(today.m_showBirthdays.find("Grandpa ("), std::string::npos);
    EXPECT_NE(today.m_showNextDays.find("Seventh day"), std::string::npos);
    EXPECT_EQ(today.m_showNextDays.find("Eighth day"), std::string::npos);
}

// Code page 1250 bytes reach the screen as the letters they stand for.
TEST_F(MainWindowOpening, CzechLettersShowAsSuch)
{
    EXPECT_EQ(App::WindowTextW(::GetDlgItem(m_app.Main(), kCalendar)), L"Dvo\u0159\u00e1k");
}

TEST_F(MainWindowOpening, FieldsCarryTheTwoReportFontsAndTheRestTheDialogFont)
{
    Probe probe(m_app);
    const LOGFONTW font1 = ReportFont(L"Helvetica", 18, 800, true);
    const LOGFONTW font2 = ReportFont(L"Helvetica", 16, 400, false);
    for (int id : {kDnes, kCalendar})
        EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(m_app.Main(), id)), font1))
            << "field " << id << ": " << DescribeFont(probe.Font(::GetDlgItem(m_app.Main(), id)));
    for (int id : {kHolidays, kBirthdays, kNextDays})
        EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(m_app.Main(), id)), font2))
            << "field " << id << ": " << DescribeFont(probe.Font(::GetDlgItem(m_app.Main(), id)));

    const std::optional<LOGFONTW> dialogFont = probe.Font(m_app.Main());
    ASSERT_TRUE(dialogFont);
    EXPECT_EQ(std::wstring(dialogFont->lfFaceName), L"MS Sans Serif");
    const std::vector<HWND> others = OtherControls(m_app.Main());
    EXPECT_EQ(others.size(), 7u);  // three buttons, four group boxes
    for (HWND control : others)
        EXPECT_TRUE(SameFont(probe.Font(control), dialogFont))
            << "control " << ::GetDlgCtrlID(control) << " \"" << e2e::ToCp1250(App::WindowTextW(control))
            << "\": " << DescribeFont(probe.Font(control));
}

TEST_F(MainWindowOpening, FocusIsOnExit)
{
    Probe probe(m_app);
    EXPECT_EQ(probe.Focus(), IDOK);
    const e2e::ThreadState state = probe.State(m_app.Main());
    EXPECT_EQ(state.active, m_app.Main());
    EXPECT_TRUE(state.enabled);
}

// Wine may put entries of its own above them; the program's are the last four.
TEST_F(MainWindowOpening, SystemMenuEndsWithEditorAndAboutEntries)
{
    Probe probe(m_app);
    const std::vector<e2e::MenuItem> menu = probe.SystemMenu(m_app.Main());
    ASSERT_GE(menu.size(), 4u);
    const e2e::MenuItem* last = &menu[menu.size() - 4];
    EXPECT_TRUE(last[0].separator);
    EXPECT_FALSE(last[1].separator);
    EXPECT_EQ(last[1].id, kEditCommand);
    EXPECT_EQ(last[1].text, L"&Edit anniversaries");
    EXPECT_TRUE(last[2].separator);
    EXPECT_FALSE(last[3].separator);
    EXPECT_EQ(last[3].id, kAboutCommand);
    EXPECT_EQ(last[3].text, L"&About Tolvari...");
    // Added once only.
    for (size_t i = 0; i + 4 < menu.size(); ++i) {
        EXPECT_NE(menu[i].id, kEditCommand) << "entry " << i;
        EXPECT_NE(menu[i].id, kAboutCommand) << "entry " << i;
    }
}

// Both window icons are the program icon, which is also what the minimised
// window is dragged with; minimised, the window paints it and keeps working.
TEST_F(MainWindowOpening, IconsAndTheMinimisedWindow)
{
    HWND main = m_app.Main();
    Probe probe(m_app);
    const e2e::WindowIcons icons = probe.Icons(main);
    EXPECT_NE(icons.bigIcon, nullptr);
    EXPECT_EQ(icons.smallIcon, icons.bigIcon);
    EXPECT_EQ(icons.dragIcon, icons.bigIcon);
    EXPECT_EQ(icons.bigSize.cx, ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(icons.bigSize.cy, ::GetSystemMetrics(SM_CYICON));

    ::ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(m_app.Sync());
    EXPECT_TRUE(::IsIconic(main));
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(m_app.Sync());
    EXPECT_EQ(probe.Icons(main).dragIcon, icons.bigIcon);
    ::ShowWindow(main, SW_RESTORE);
    ASSERT_TRUE(m_app.Sync());
    EXPECT_FALSE(::IsIconic(main));
    m_app.Click(kTomorrow);
    EXPECT_TRUE(SameReport(ReadReport(m_app), ExpectedReport(Records(m_bytes), DaysAfter(m_today, 1))));
}

// The common controls of version 6 that the manifest asks for are the ones
// loaded.
TEST_F(MainWindowOpening, RunsWithCommonControlsSix)
{
    Probe probe(m_app);
    std::wstring path = probe.CommonControlsPath();
    for (wchar_t& c : path)
        c = static_cast<wchar_t>(std::towlower(c));
    EXPECT_NE(path.find(L"common-controls"), std::wstring::npos) << e2e::ToCp1250(path);
    EXPECT_NE(path.find(L"_6.0."), std::wstring::npos) << e2e::ToCp1250(path);
}

// ---------------------------------------------------------------------------
// Day stepping

// Over a year of Tomorrows, through month ends, a year end and a 29 February
// or its absence, then all the way back: every day equals the core's report.
TEST(MainWindowSweep, TomorrowAndYesterdayAcrossMonthAndYearEnds)
{
    const CurrentDate before = ClockDate();
    const std::string bytes = RichData(before);
    const Records records(bytes);
    TempDir dir;
    e2e::WriteDefaultFiles(dir, bytes);
    App app;
    const CurrentDate today = StartAndTakeToday(app, dir, before);
    ASSERT_TRUE(app.Main());
    ASSERT_TRUE(SameReport(ReadReport(app), ExpectedReport(records, today)));

    constexpr int kDays = 400;
    CurrentDate date = today;
    for (int step = 1; step <= kDays; ++step) {
        app.Click(kTomorrow);
        date.NextDay();
        ASSERT_TRUE(SameReport(ReadReport(app), ExpectedReport(records, date)))
            << "after " << step << " Tomorrows, on " << FormatDateLine(date, 0);
    }
    for (int step = 1; step <= kDays; ++step) {
        app.Click(kYesterday);
        date.PrevDay();
        ASSERT_TRUE(SameReport(ReadReport(app), ExpectedReport(records, date)))
            << "after " << step << " Yesterdays, on " << FormatDateLine(date, 0);
    }
    EXPECT_EQ(date, today);

    // Stepping changes the texts, never the fonts.
    Probe probe(app);
    EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(app.Main(), kDnes)), ReportFont(L"Helvetica", 18, 800, true)));
    EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(app.Main(), kNextDays)), ReportFont(L"Helvetica", 16, 400, false)));
}

// ---------------------------------------------------------------------------
// Fonts from the settings file

struct FontCase {
    const char* name;
    std::string ini;
    const wchar_t* dataFile;  // the name the settings give
    LOGFONTW font1;
    LOGFONTW font2;
};

void PrintTo(const FontCase& c, std::ostream* os)
{
    *os << c.name;
}

// 40 characters, Czech letters among them; the face name field keeps 31.
const char kLongFace[] = "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1""belsk\xE9 \xF3""dy 23456789";
static_assert(sizeof(kLongFace) - 1 == 40, "a 40-character face name");

const FontCase kFontCases[] = {
    {"Defaults", kDefaultIni, L"Tolvari.dat", ReportFont(L"Helvetica", 18, 800, true),
     ReportFont(L"Helvetica", 16, 400, false)},
    {"LongFaceBoldTwenty",
     std::string("FILE=days.txt\r\nFONT1=") + kLongFace + "\r\nFACE1=ITALIC\r\nSIZE1=-24\r\n"
         "FONT2=Arial\r\nFACE2=BOLD\r\nSIZE2=20\r\n",
     L"days.txt", ReportFont(e2e::FromCp1250(std::string(kLongFace, 31)), -24, 400, true),
     ReportFont(L"Arial", 20, 800, false)},
    {"WordsAsWritten",
     "[fonts]\r\nFILE=days.txt\r\nFONT1=Courier New \r\nFACE1=bold\r\nSIZE1=big\r\n"
     "FONT2=Times New Roman\r\nFACE2=BOLD_ITALIC\r\nSIZE2= 20px\r\n",
     L"days.txt", ReportFont(L"Courier New ", 0, 400, false), ReportFont(L"Times New Roman", 20, 800, true)},
};

class MainWindowFonts : public ::testing::TestWithParam<FontCase> {};

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
    ASSERT_TRUE(app.Main());
    EXPECT_TRUE(SameReport(ReadReport(app), ExpectedReport(Records(bytes), today)));

    Probe probe(app);
    for (int id : kFields) {
        const LOGFONTW& expected = (id == kDnes || id == kCalendar) ? c.font1 : c.font2;
        const std::optional<LOGFONTW> shown = probe.Font(::GetDlgItem(app.Main(), id));
        EXPECT_TRUE(SameFont(shown, expected))
            << "field " << id << ": " << DescribeFont(shown) << ", expected " << DescribeFont(expected);
    }
    EXPECT_EQ(probe.Focus(), IDOK);
}

INSTANTIATE_TEST_SUITE_P(Settings, MainWindowFonts, ::testing::ValuesIn(kFontCases),
                         [](const ::testing::TestParamInfo<FontCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// A data file without records

struct EmptyCase {
    const char* name;
    const char* bytes;
};

void PrintTo(const EmptyCase& c, std::ostream* os)
{
    *os << c.name;
}

class MainWindowEmptyData : public ::testing::TestWithParam<EmptyCase> {};

// The opening stops before the report and the fonts: empty fields in the
// dialog font, and the buttons still step the day (only the date line then
// has text) without a font change.
TEST_P(MainWindowEmptyData, FieldsStayEmptyInTheDialogFontAndButtonsWork)
{
    TempDir dir;
    e2e::WriteDefaultFiles(dir, GetParam().bytes);
    const Records none(GetParam().bytes);
    ASSERT_EQ(none.list.m_nCount, 0);
    const CurrentDate before = ClockDate();
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    Probe probe(app);
    const std::optional<LOGFONTW> dialogFont = probe.Font(app.Main());
    for (int id : kFields) {
        EXPECT_EQ(app.Text(id), "") << "field " << id;
        EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(app.Main(), id)), dialogFont)) << "field " << id;
    }

    app.Click(kTomorrow);
    ShownReport shown = ReadReport(app);
    // Tomorrow of the day the program took from the clock.
    const CurrentDate today = shown.dnes == FormatDateLine(DaysAfter(before, 1), 0) ? before : ClockDate();
    EXPECT_TRUE(SameReport(shown, ExpectedReport(none, DaysAfter(today, 1))));
    EXPECT_EQ(shown.calendar + shown.holidays + shown.birthdays, "");
    EXPECT_EQ(shown.nextDays, "\r\n\r\n");

    app.Click(kYesterday);
    app.Click(kYesterday);
    EXPECT_TRUE(SameReport(ReadReport(app), ExpectedReport(none, DaysAfter(today, -1))));
    for (int id : kFields)
        EXPECT_TRUE(SameFont(probe.Font(::GetDlgItem(app.Main(), id)), dialogFont)) << "field " << id;
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "no message box";
    EXPECT_TRUE(app.Running());
}

INSTANTIATE_TEST_SUITE_P(Files, MainWindowEmptyData,
                         ::testing::Values(EmptyCase{"ZeroBytes", ""},
                                           EmptyCase{"HeadersAndSkippedLines",
                                                     "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n"
                                                     "no record here\r\n05.03 1950\r\n"}),
                         [](const ::testing::TestParamInfo<EmptyCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Failures of the opening

// The one error box: caption, stop icon, a lone OK button and the text.
void ExpectErrorBox(const App& app, HWND box, const std::string& text)
{
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(App::MessageBoxText(box), text);
    EXPECT_EQ(App::WindowTextW(box), L"Tolvari");
    EXPECT_EQ(App::WindowTextW(::GetDlgItem(box, IDOK)), L"OK");
    for (int other : {IDCANCEL, IDYES, IDNO, IDRETRY, IDABORT, IDIGNORE})
        EXPECT_EQ(::GetDlgItem(box, other), nullptr) << "button " << other;
    Probe probe(box);
    EXPECT_EQ(probe.MessageBoxIcon(box), MB_ICONHAND);
    // The main window is not on screen while the opening reports.
    EXPECT_EQ(app.FindDialogWith(kYesterday), nullptr);
}

// After OK the pending quit request ends the program, with exit code 0 and
// without anything written.
void ExpectQuietEnd(App& app, HWND box, const TempDir& dir, std::vector<std::wstring> files)
{
    App::Answer(box, IDOK);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(e2e::kWaitMs, &code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
    std::vector<std::wstring> left = dir.List();
    std::sort(left.begin(), left.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(left, files);
}

TEST(MainWindowFailure, NoSettingsFile)
{
    TempDir dir;
    dir.Write(L"Tolvari.dat", RichData(ClockDate()));
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    HWND box = app.WaitMessageBox();
    ExpectErrorBox(app, box,
                   "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.");
    ExpectQuietEnd(app, box, dir, {L"Tolvari.dat"});
}

// The quit request of the first box is still pending when the data file's
// box comes up, so that box closes at once and the program ends after one
// answer.
TEST(MainWindowFailure, NoSettingsAndNoDataFile)
{
    TempDir dir;
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    HWND box = app.WaitMessageBox();
    ExpectErrorBox(app, box,
                   "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.");
    ExpectQuietEnd(app, box, dir, {});
}

TEST(MainWindowFailure, DataFileNamedInSettingsIsMissing)
{
    const struct {
        const char* fileLine;
        const char* shownName;
    } cases[] = {
        {"FILE=missing.dat", "missing.dat"},
        {"FILE=Dvo\xF8\xE1k.dat", "Dvo\xF8\xE1k.dat"},
        {"FILE = spaced.dat", " spaced.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileLine);
        TempDir dir;
        const std::string ini = std::string(c.fileLine) + "\r\nFONT1=Arial\r\n";
        dir.Write(L"Tolvari.ini", ini);
        dir.Write(L"Tolvari.dat", RichData(ClockDate()));  // present, but not the one named
        App app;
        ASSERT_TRUE(app.Start(dir.Path()));
        HWND box = app.WaitMessageBox();
        ExpectErrorBox(app, box,
                       std::string("Error: Can't open file ") + c.shownName +
                           "\n\nThe file specified in Tolvari.ini in FILE section doesn't exist in the "
                           "current directory.");
        ExpectQuietEnd(app, box, dir, {L"Tolvari.ini", L"Tolvari.dat"});
        EXPECT_EQ(dir.Read(L"Tolvari.ini"), ini);
    }
}

// ---------------------------------------------------------------------------
// Closing

struct CloseWay {
    const char* name;
    void (*close)(App&);
};

void PrintTo(const CloseWay& c, std::ostream* os)
{
    *os << c.name;
}

class MainWindowClose : public ::testing::TestWithParam<CloseWay> {};

// Whichever way the window ends, after days of stepping, nothing is written.
TEST_P(MainWindowClose, EndsWithoutWritingAnything)
{
    TempDir dir;
    const std::string bytes = RichData(ClockDate());
    e2e::WriteDefaultFiles(dir, bytes);
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    for (int i = 0; i < 3; ++i)
        app.Click(kTomorrow);
    app.Click(kYesterday);
    GetParam().close(app);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(e2e::kWaitMs, &code));
    EXPECT_EQ(code, 0u);
    std::vector<std::wstring> files = dir.List();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.ini"}));
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), bytes);
    EXPECT_EQ(dir.Read(L"Tolvari.ini"), kDefaultIni);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MainWindowClose,
    ::testing::Values(CloseWay{"Exit", [](App& a) { App::ClickAsync(a.Main(), IDOK); }},
                      CloseWay{"Esc", [](App& a) { App::Key(a.Main(), VK_ESCAPE); }},
                      CloseWay{"CloseBox", [](App& a) { a.SysCommand(SC_CLOSE); }}),
    [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The program file

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name)
{
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (!::VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
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
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 2));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(info, L"FileVersion"), L"2.5.2");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"2.5.2");
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Tolvari");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), L"Tolvari.exe");
}

// The XML element around the first occurrence of what, or "".
std::string Element(const std::string& xml, const std::string& what)
{
    const size_t at = xml.find(what);
    if (at == std::string::npos)
        return std::string();
    const size_t open = xml.rfind('<', at);
    size_t close = xml.find('>', at);
    if (close != std::string::npos && xml[close - 1] != '/')
        close = xml.find('>', close + 1);  // through the closing tag
    return xml.substr(open, close == std::string::npos ? std::string::npos : close + 1 - open);
}

TEST(MainWindowProgramFile, ManifestAsksForCommonControlsSixAndDpiAwareness)
{
    HMODULE exe = ::LoadLibraryExW(e2e::TolvariExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = ::FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "no manifest";
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(exe, found)));
    const std::string manifest(bytes, ::SizeofResource(exe, found));
    ::FreeLibrary(exe);
    EXPECT_NE(Element(manifest, "\"Microsoft.Windows.Common-Controls\"").find("version=\"6.0.0.0\""),
              std::string::npos)
        << manifest;
    EXPECT_NE(Element(manifest, "<dpiAware").find(">true</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(Element(manifest, "name=\"Tolvari\"").find("version=\"2.5.2.0\""), std::string::npos)
        << manifest;
}

}  // namespace
