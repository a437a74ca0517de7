// Bad input fed to the real program: oversized and odd data and settings
// files, file names it cannot open, files that change under it. Each case
// ends the way a user expects (the window with the right report, or the
// right error box) and loses no record: where the window opens, the editor
// is opened and closed, and the file it writes holds every record read.
// The table of all kinds, with the unit cases, is docs/bad-input.md.
#include "Driver.h"

#include "app/TodayCore.h"
#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using e2e::App;
using e2e::kDefaultIni;
using e2e::ClockDate;
using e2e::TempDir;

constexpr int kDnes = 1000, kCalendar = 1001, kHolidays = 1002, kBirthdays = 1003, kTomorrow = 1005,
              kNextDays = 1007;
constexpr int kEditorNoAge = 1019, kEditorLast = 1008, kEditorPosition = 1013;
constexpr UINT kEditCommand = 32771;
// Big files take a while to read, lay out and write under Wine.
constexpr DWORD kBigWaitMs = 120000;

std::string Key(const CurrentDate& date)
{
    return DayKey(date.m_nDay) + "." + DayKey(date.m_nMonth);
}

RecordList Parse(const std::string& bytes)
{
    RecordList list;
    list.m_nCount = AppendRecords(list, std::make_shared<const std::string>(bytes));
    return list;
}

// Fields are compared by size and a digest first, so that a mismatch of a
// 10 MB text does not print it whole.
::testing::AssertionResult SameText(const char* field, const std::string& shown, const std::string& want)
{
    if (shown == want)
        return ::testing::AssertionSuccess();
    const size_t cut = 200;
    return ::testing::AssertionFailure()
           << "field " << field << ": shows " << shown.size() << " bytes \"" << shown.substr(0, cut)
           << "\", expected " << want.size() << " bytes \"" << want.substr(0, cut) << "\"";
}

// The core's report, each text cut to what its field is given.
void ExpectReport(const App& app, const RecordList& list, const CurrentDate& date)
{
    DayReportTexts want;
    BuildDayReport(list, date, 0, want);
    EXPECT_TRUE(SameText("date line", app.Text(kDnes), FitReportField(want.m_showDnes)));
    EXPECT_TRUE(SameText("calendar", app.Text(kCalendar), FitReportField(want.m_showCalendar)));
    EXPECT_TRUE(SameText("holidays", app.Text(kHolidays), FitReportField(want.m_showHolidays)));
    EXPECT_TRUE(SameText("birthdays", app.Text(kBirthdays), FitReportField(want.m_showBirthdays)));
    EXPECT_TRUE(SameText("next days", app.Text(kNextDays), FitReportField(want.m_showNextDays)));
}

// Opens the editor from the system menu and closes it again unchanged, which
// rewrites the whole data file.
void EditorRoundTrip(App& app, DWORD ms = e2e::kWaitMs)
{
    app.SysCommand(kEditCommand);
    HWND ed = app.WaitDialogWith(kEditorNoAge, ms);
    ASSERT_NE(ed, nullptr) << "the editor did not open";
    App::ClickAsync(ed, IDOK);
    ASSERT_TRUE(e2e::Eventually([&] { return !::IsWindow(ed); }, ms)) << "the editor did not close";
    ASSERT_TRUE(app.Sync(ms));
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "no error box after the save";
}

// ---------------------------------------------------------------------------
// Files the window opens on

struct OpenCase {
    const char* name;
    // Writes the files into the directory and returns the data file's bytes.
    std::function<std::string(const TempDir&, const CurrentDate&)> write;
    const wchar_t* dataFile;
};

class BadInputOpens : public ::testing::TestWithParam<OpenCase> {};

// The window opens on the report the core builds from the same bytes, still
// answers, and the file the editor's close writes keeps every record.
TEST_P(BadInputOpens, ShowsTheReportAndKeepsEveryRecord)
{
    TempDir dir;
    const CurrentDate today = ClockDate();
    const std::string bytes = GetParam().write(dir, today);
    const RecordList list = Parse(bytes);

    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow(kBigWaitMs));
    ASSERT_TRUE(app.Sync(kBigWaitMs));
    EXPECT_EQ(app.FindDialogWith(0), nullptr) << "no error box";
    if (app.Text(kDnes) != FormatDateLine(today, 0))
        GTEST_SKIP() << "midnight passed during the start";
    ExpectReport(app, list, today);

    App::Click(app.Main(), kTomorrow);
    ASSERT_TRUE(app.Sync(kBigWaitMs)) << "the program stopped answering";
    CurrentDate tomorrow = today;
    tomorrow.NextDay();
    ExpectReport(app, list, tomorrow);

    EditorRoundTrip(app, kBigWaitMs);
    EXPECT_TRUE(dir.Read(GetParam().dataFile) == FormatDataFile(list, 0))
        << "the saved file holds every record read, in order";
    App::ClickAsync(app.Main(), IDOK);
    EXPECT_TRUE(app.WaitExit(kBigWaitMs));
}

std::string DefaultFilesWith(const TempDir& dir, const std::string& data)
{
    e2e::WriteDefaultFiles(dir, data);
    return data;
}

// These settings with Tolvari.dat holding data.
std::string FilesWith(const TempDir& dir, const std::string& ini, const std::string& data)
{
    dir.Write(L"Tolvari.ini", ini);
    dir.Write(L"Tolvari.dat", data);
    return data;
}

const OpenCase kOpenCases[] = {
    {"TenMegabyteLine",
     [](const TempDir& dir, const CurrentDate& today) {
         // One 10 MB record on the displayed day, one around it.
         return DefaultFilesWith(dir, "[***CALENDAR***]\r\n" + Key(today) + " 0000 " +
                                          std::string(10 << 20, 'N') + "\r\n" + Key(today) +
                                          " 9999 Holiday\r\n");
     },
     L"Tolvari.dat"},
    {"TenMegabyteLineNoLineEnd",
     [](const TempDir& dir, const CurrentDate& today) {
         return DefaultFilesWith(dir, Key(today) + " 9999 Holiday\r\n" + std::string(10 << 20, '.'));
     },
     L"Tolvari.dat"},
    {"MillionLines",
     [](const TempDir& dir, const CurrentDate& today) {
         std::string data = "[***CALENDAR***]\r\n";
         data.reserve(28u << 20);
         CurrentDate day = today;
         for (int i = 0; i < 1000000; ++i) {
             if (i % 1000 == 0)
                 day.NextDay();
             data += Key(day) + (i % 3 == 0 ? " 0000 " : i % 3 == 1 ? " 9999 " : " 1950 ") + "Jm\xE9no " +
                     std::to_string(i) + "\r\n";
         }
         data += Key(today) + " 1980 Today's birthday\r\n";
         return DefaultFilesWith(dir, data);
     },
     L"Tolvari.dat"},
    {"BinaryGarbage",
     [](const TempDir& dir, const CurrentDate& today) {
         std::string data;
         unsigned x = 12345;
         for (int i = 0; i < 1 << 20; ++i) {
             x = x * 1103515245u + 12345u;
             data += static_cast<char>(x >> 24);
         }
         return DefaultFilesWith(dir, data + "\r\n" + Key(today) + " 9999 After the garbage\r\n");
     },
     L"Tolvari.dat"},
    {"NulBytesInNames",
     [](const TempDir& dir, const CurrentDate& today) {
         // A NUL would end the field's text: the holidays after it must show.
         return DefaultFilesWith(dir, Key(today) + " 9999 Ho" + std::string(1, '\0') + "liday\r\n" +
                                          Key(today) + " 9999 Second\r\n");
     },
     L"Tolvari.dat"},
    {"CzechFileName",
     [](const TempDir& dir, const CurrentDate& today) {
         // The settings name the file in code page 1250 bytes.
         dir.Write(L"Tolvari.ini", "FILE=Dvo\xF8\xE1k \x9Alechtic.dat\r\n");
         const std::string data = Key(today) + " 9999 Found by its Czech name\r\n";
         dir.Write(L"Dvo\u0159\u00E1k \u0161lechtic.dat", data);
         return data;
     },
     L"Dvo\u0159\u00E1k \u0161lechtic.dat"},
    {"ThirtyDigitFontSizes",
     [](const TempDir& dir, const CurrentDate& today) {
         return FilesWith(dir,
                          "FILE=Tolvari.dat\r\nSIZE1=" + std::string(30, '9') + "\r\nSIZE2=-" +
                              std::string(30, '9') + "\r\n",
                          Key(today) + " 0000 Big\r\n" + Key(today) + " 9999 Small\r\n");
     },
     L"Tolvari.dat"},
    {"LongFaceNames",
     [](const TempDir& dir, const CurrentDate& today) {
         return FilesWith(dir,
                          "FILE=Tolvari.dat\r\nFONT1=" + std::string(100, 'F') + "\r\nFONT2=" +
                              std::string(1 << 20, '\xE8') + "\r\nFACE2=" + std::string(1 << 20, 'B') + "\r\n",
                          Key(today) + " 0000 Face\r\n");
     },
     L"Tolvari.dat"},
    {"KeysRepeatedTenThousandTimes",
     [](const TempDir& dir, const CurrentDate& today) {
         std::string ini;
         for (int i = 0; i < 10000; ++i)
             ini += "FILE=wrong" + std::to_string(i) + ".dat\r\nSIZE1=" + std::to_string(i % 40) + "\r\n";
         return FilesWith(dir, ini + "FILE=Tolvari.dat\r\n", Key(today) + " 9999 The last FILE wins\r\n");
     },
     L"Tolvari.dat"},
};

INSTANTIATE_TEST_SUITE_P(Files, BadInputOpens, ::testing::ValuesIn(kOpenCases),
                         [](const ::testing::TestParamInfo<OpenCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Data files the program cannot open

struct FailCase {
    const char* name;
    std::string fileValue;  // the FILE value, code page 1250
    std::string shownName;  // the name as the box shows it
};

class BadInputCannotOpen : public ::testing::TestWithParam<FailCase> {};

// The data file's error box, then the end of the program; nothing is written.
TEST_P(BadInputCannotOpen, ReportsTheFileAndEnds)
{
    TempDir dir;
    const std::string ini = "FILE=" + GetParam().fileValue + "\r\n";
    dir.Write(L"Tolvari.ini", ini);
    ASSERT_TRUE(::CreateDirectoryW(dir.File(L"folder.dat").c_str(), nullptr));
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    HWND box = app.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    const std::string text = App::MessageBoxText(box);
    EXPECT_TRUE(SameText("message", text, DataFileOpenError(GetParam().shownName, 0)));
    // The whole box is on the screen, OK button included.
    RECT box_rect = {}, screen = {};
    ::GetWindowRect(box, &box_rect);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    RECT ok = {};
    ::GetWindowRect(::GetDlgItem(box, IDOK), &ok);
    EXPECT_TRUE(box_rect.top >= screen.top && box_rect.bottom <= screen.bottom &&
                box_rect.left >= screen.left && box_rect.right <= screen.right)
        << "a box " << box_rect.right - box_rect.left << "x" << box_rect.bottom - box_rect.top << " at "
        << box_rect.left << "," << box_rect.top;
    EXPECT_TRUE(ok.top >= screen.top && ok.bottom <= screen.bottom && ok.left >= screen.left &&
                ok.right <= screen.right)
        << "OK at " << ok.left << "," << ok.top;
    App::Answer(box, IDOK);
    DWORD code = 1234;
    ASSERT_TRUE(app.WaitExit(e2e::kWaitMs, &code));
    EXPECT_EQ(code, 0u);
    std::vector<std::wstring> left = dir.List();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Tolvari.ini", L"folder.dat"}));
    EXPECT_EQ(dir.Read(L"Tolvari.ini"), ini);
}

const FailCase kFailCases[] = {
    {"NameOfADirectory", "folder.dat", "folder.dat"},
    {"EmptyName", "", ""},
    {"MissingDirectory", "no such folder\\Tolvari.dat", "no such folder\\Tolvari.dat"},
    {"MegabyteName", std::string(1 << 20, 'm'), std::string(1 << 20, 'm')},
    {"LongPathName", std::string(250, 'p') + "\\" + std::string(250, 'q'),
     std::string(250, 'p') + "\\" + std::string(250, 'q')},
};

INSTANTIATE_TEST_SUITE_P(Names, BadInputCannotOpen, ::testing::ValuesIn(kFailCases),
                         [](const ::testing::TestParamInfo<FailCase>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// Through the editor

// A record with day "00" and month "13" selects nothing in the two lists;
// closing the editor on it keeps the displayed day and writes the record
// back unchanged.
TEST(BadInputEditor, MonthThirteenAndDayZeroShownLastKeepTheDisplayedDay)
{
    TempDir dir;
    const CurrentDate today = ClockDate();
    const std::string data = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n" + Key(today) +
                             " 9999 Today\r\n00.13 1950 Odd date\r\n";
    e2e::WriteDefaultFiles(dir, data);
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    const std::string dateLine = app.Text(kDnes);

    app.SysCommand(kEditCommand);
    HWND ed = app.WaitDialogWith(kEditorNoAge);
    ASSERT_NE(ed, nullptr);
    App::Click(ed, kEditorLast);
    EXPECT_EQ(App::Text(ed, kEditorPosition), "2/2");
    App::ClickAsync(ed, IDOK);
    ASSERT_TRUE(e2e::Eventually([&] { return !::IsWindow(ed); }));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(app.FindDialogWith(0), nullptr);
    EXPECT_EQ(app.Text(kDnes), dateLine) << "the displayed day stays";
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), data);
    EXPECT_EQ(app.Text(kHolidays), "Today");
}

// The data file deleted while the program runs: the next save writes it anew.
TEST(BadInputEditor, DataFileThatDisappearedIsWrittenAnew)
{
    TempDir dir;
    const CurrentDate today = ClockDate();
    const std::string data = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n" + Key(today) + " 9999 Kept\r\n";
    e2e::WriteDefaultFiles(dir, data);
    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    ASSERT_TRUE(::DeleteFileW(dir.File(L"Tolvari.dat").c_str()));
    EditorRoundTrip(app);
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), data);
}

// A save killed before its rename leaves a hidden ".Tolvari.dat.tmp-XXXXXX";
// the program never reads it and its next save removes it. The data file
// itself does not come out hidden.
TEST(BadInputEditor, LeftoverOfAKilledSaveIsRemovedByTheNextSave)
{
    TempDir dir;
    const CurrentDate today = ClockDate();
    const std::string data = Key(today) + " 9999 Real\r\n";
    e2e::WriteDefaultFiles(dir, data);
    dir.Write(L".Tolvari.dat.tmp-K1LLED", Key(today) + " 9999 Half of a sav");
    ::SetFileAttributesW(dir.File(L".Tolvari.dat.tmp-K1LLED").c_str(), FILE_ATTRIBUTE_HIDDEN);
    dir.Write(L"Tolvari.dat.tmp-K1LLED", "a user's own file");

    App app;
    ASSERT_TRUE(app.Start(dir.Path()));
    ASSERT_TRUE(app.WaitMainWindow());
    EXPECT_EQ(app.Text(kHolidays), "Real");
    EditorRoundTrip(app);

    std::vector<std::wstring> left = dir.List();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L"Tolvari.dat", L"Tolvari.dat.tmp-K1LLED", L"Tolvari.ini"}));
    EXPECT_EQ(dir.Read(L"Tolvari.dat"), FormatDataFile(Parse(data), 0));
    EXPECT_FALSE(::GetFileAttributesW(dir.File(L"Tolvari.dat").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.Read(L"Tolvari.dat.tmp-K1LLED"), "a user's own file");
}

}  // namespace
