// Bad input at the core: settings and data files that are empty, damaged,
// oversized or odd, and names the program cannot open. Each row runs the
// program's own sequence (settings, data file, report, save) in a fresh
// directory and states what the user sees: the report, an error box or
// nothing. Whatever the window opens on, a save writes back every record
// read. The table of all kinds, with the end-to-end cases, is
// docs/bad-input.md.
#include "app/TodayCore.h"

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "RecordRows.h"
#include "records/DataFile.h"

namespace {

class TestCore : public CTodayCore {
public:
    TestCore() : CTodayCore(0) {}

    std::vector<std::string> errors;
    int quits = 0;

protected:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override {}
};

std::string Garbage(size_t size)
{
    std::string bytes;
    unsigned x = 2001;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        bytes += static_cast<char>(x >> 24);
    }
    return bytes;
}

const char kIni[] = "FILE=Tolvari.dat\r\n";
const std::string kMegabyte(1 << 20, 'x');

enum class Outcome {
    Report,         // the window opens on the report
    Empty,          // the window opens with empty fields
    SettingsError,  // settings error box, then the end; defaults in place
    DataError,      // data file error box, then the end; empty list
};

struct Case {
    const char* kind;
    std::string ini;   // Tolvari.ini; "<dir>" makes it a directory
    std::string data;  // Tolvari.dat (or the file FILE names)
    Outcome outcome;
    Rows rows = {};  // the records read, when given
    // Further checks of what the user sees, on the core after the report.
    std::function<void(const TestCore&)> check = nullptr;
};

// 5 March 2001, a Monday.
void ShowMarchFifth(TestCore& core)
{
    core.m_nDay = 5;
    core.m_nMonth = 3;
    core.m_nYear = 2001;
    core.m_nDOW = 2;
}

std::vector<Case> Cases()
{
    const std::string garbage = Garbage(1 << 20);
    return {
        // Settings files
        {"empty settings file", "", "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_strDataFile, "Tolvari.dat");
             EXPECT_EQ(c.m_strSize1, "18");
         }},
        {"settings file is a directory", "<dir>", "05.03 9999 Holiday\r\n", Outcome::SettingsError},
        {"settings value of 1 MB", "FILE=Tolvari.dat\r\nFONT1=" + kMegabyte + "\r\nFACE2=" + kMegabyte,
         "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_strFont1.size(), 1u << 20);
             EXPECT_EQ(DescribeFont(c.m_strFont1, c.m_strFace1, c.m_strSize1).face, std::string(31, 'x'));
             EXPECT_EQ(DescribeFont(c.m_strFont2, c.m_strFace2, c.m_strSize2).weight, 400);
         }},
        {"face name of 100 characters", "FILE=Tolvari.dat\r\nFONT2=" + std::string(100, 'F') + "\r\n",
         "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(DescribeFont(c.m_strFont2, c.m_strFace2, c.m_strSize2).face, std::string(31, 'F'));
         }},
        {"SIZE of 30 digits", "FILE=Tolvari.dat\r\nSIZE1=" + std::string(30, '7') + "\r\nSIZE2=-" +
                                  std::string(30, '7') + "\r\n",
         "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(DescribeFont(c.m_strFont1, c.m_strFace1, c.m_strSize1).height, INT_MAX);
             EXPECT_EQ(DescribeFont(c.m_strFont2, c.m_strFace2, c.m_strSize2).height, INT_MIN);
         }},
        {"keys repeated 10,000 times",
         [] {
             std::string ini;
             for (int i = 0; i < 10000; ++i)
                 ini += "FILE=x" + std::to_string(i) + ".dat\r\nSIZE1=" + std::to_string(i) + "\r\n";
             return ini + "FILE=Tolvari.dat\r\n";
         }(),
         "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) { EXPECT_EQ(c.m_strSize1, "9999"); }},
        {"settings with a UTF-8 byte-order mark", "\xEF\xBB\xBF" "FILE=Tolvari.dat\r\nSIZE1=9\r\n",
         "05.03 9999 Holiday\r\n", Outcome::Report, {},
         [](const TestCore& c) { EXPECT_EQ(c.m_strSize1, "9"); }},
        // A CR alone ends no line: both keys are on one line and share its value.
        {"settings with CR-only line ends", "SIZE1=9\rFILE=Tolvari.dat\r", "05.03 9999 Holiday\r\n",
         Outcome::DataError, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_strDataFile, "9\rFILE=Tolvari.dat\r");
             EXPECT_EQ(c.m_strSize1, "9\rFILE=Tolvari.dat\r");
         }},

        // FILE names something the program cannot read
        {"FILE names a directory", "FILE=folder\r\n", "", Outcome::DataError},
        {"FILE is empty", "FILE=\r\n", "", Outcome::DataError},
        {"FILE in a missing directory", "FILE=no such folder/Tolvari.dat\r\n", "", Outcome::DataError},
        // The box shows the name cut, so that it fits the screen.
        {"FILE of 1 MB", "FILE=" + kMegabyte + "\r\n", "", Outcome::DataError, {},
         [](const TestCore& c) {
             ASSERT_EQ(c.errors.size(), 1u);
             EXPECT_EQ(c.errors[0], "Error: Can't open file " + std::string(64, 'x') + "\n" + std::string(64, 'x') +
                                        "\n..." + std::string(61, 'x') + "\n" + std::string(64, 'x') + "\n" +
                                        std::string(4, 'x') +
                                        "\n\nThe file specified in Tolvari.ini in FILE section "
                                        "doesn't exist in the current directory.");
         }},

        // Data files
        {"empty data file", kIni, "", Outcome::Empty, {}},
        {"only headers", kIni, "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n", Outcome::Empty, {}},
        {"binary garbage", kIni, garbage, Outcome::Report},
        {"binary garbage, then a record", kIni, garbage + "\n05.03 9999 After\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_arrName[c.m_nCount - 1], "After");
             EXPECT_EQ(c.m_showHolidays.substr(c.m_showHolidays.size() - 5), "After");
         }},
        {"NUL bytes inside lines", kIni, Bytes("05.03 9999 Ho\0li\0day\r\n0\0005.03 9999 x\r\n"),
         Outcome::Report,
         {{"05", "03", "9999", Bytes("Ho\0li\0day")}, {Bytes("0\0005"), "03", "9999", "x"}},
         [](const TestCore& c) { EXPECT_EQ(c.m_showHolidays, "Ho?li?day"); }},
        {"no final line end", kIni, "05.03 0000 A\r\n05.03 9999 Last", Outcome::Report,
         {{"05", "03", "0000", "A"}, {"05", "03", "9999", "Last"}}},
        {"CR-only line ends", kIni, "05.03 0000 A\r05.03 9999 B\r", Outcome::Report,
         {{"05", "03", "0000", "A\r05.03 9999 B\r"}}},
        {"UTF-8 byte-order mark", kIni, "\xEF\xBB\xBF[***CALENDAR***]\r\n05.03 0000 A\r\n", Outcome::Report,
         {{"05", "03", "0000", "A"}}},
        // The mark becomes part of the first day, which then never shows.
        {"UTF-8 byte-order mark before a record", kIni, "\xEF\xBB\xBF" "05.03 0000 A\r\n", Outcome::Report,
         {{"\xEF\xBB\xBF" "05", "03", "0000", "A"}},
         [](const TestCore& c) { EXPECT_EQ(c.m_showCalendar, ""); }},
        {"UTF-8 names", kIni, "05.03 9999 Nov\xC3\xBD rok\r\n", Outcome::Report,
         {{"05", "03", "9999", "Nov\xC3\xBD rok"}},
         [](const TestCore& c) { EXPECT_EQ(c.m_showHolidays, "Nov\xC3\xBD rok"); }},
        {"lines of only dots or blanks", kIni, "....\r\n   \r\n.\r\n. . .\r\n \r\n", Outcome::Report,
         {{"", "", ".", "."}}},
        {"every field empty", kIni, ".  \r\n", Outcome::Report, {{"", "", "", ""}},
         [](const TestCore& c) { EXPECT_EQ(c.m_showNextDays, "\r\n\r\n"); }},
        {"a year of 30 digits", kIni, "05.03 " + std::string(30, '9') + " Old\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_showBirthdays, "Old (" + std::to_string(2001LL - INT_MAX) + " let)");
         }},
        {"a negative year", kIni, "05.03 -5 Ancient\r\n05.03 -2147483648 Older\r\n", Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_showBirthdays, "Ancient (2006 let)\r\nOlder (" + std::to_string(INT_MAX) + " let)");
         }},
        {"month 13 and day 00", kIni, "00.13 1950 Odd\r\n05.03 9999 Holiday\r\n", Outcome::Report,
         {{"00", "13", "1950", "Odd"}, {"05", "03", "9999", "Holiday"}},
         [](const TestCore& c) { EXPECT_EQ(c.m_showBirthdays, ""); }},
        // The report is cut to what an edit control lays out at once; the
        // record itself stays whole.
        {"a 10 MB single line", kIni, "05.03 0000 " + std::string(10 << 20, 'N') + "\r\n", Outcome::Report,
         {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_arrName[0].size(), 10u << 20);
             EXPECT_EQ(c.m_showCalendar, std::string(kMaxFieldLine, 'N') + "...");
         }},
        {"1,000,000 lines", kIni,
         [] {
             std::string data;
             for (int i = 0; i < 1000000; ++i)
                 data += (i % 2 ? "05.03 9999 H" : "06.03 0000 C") + std::to_string(i) + "\r\n";
             return data;
         }(),
         Outcome::Report, {},
         [](const TestCore& c) {
             EXPECT_EQ(c.m_nCount, 1000000);
             EXPECT_EQ(c.CurrentRecord, 999999);
             EXPECT_EQ(c.m_showHolidays.substr(0, 8), "H1\r\nH3\r\n");
             EXPECT_LE(c.m_showHolidays.size(), kMaxFieldText + 3);
             EXPECT_LE(c.m_showNextDays.size(), kMaxFieldText + 3);
         }},
    };
}

// The program's opening and one save, as the window runs them.
TEST(BadInputTable, EachKindEndsAsTheUserExpectsAndLosesNoRecord)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.kind);
        TempDir dir;
        ChangeDir in(dir.Path());
        if (c.ini == "<dir>")
            ASSERT_EQ(::mkdir("Tolvari.ini", 0755), 0);
        else
            WriteBytes("Tolvari.ini", c.ini);
        ASSERT_EQ(::mkdir("folder", 0755), 0);
        WriteBytes("Tolvari.dat", c.data);

        TestCore core;
        ShowMarchFifth(core);
        core.LoadIniFile();
        core.LoadFile();
        if (core.m_nCount != 0)
            core.FindInfo();

        switch (c.outcome) {
        case Outcome::Report:
        case Outcome::Empty:
            EXPECT_EQ(core.errors, std::vector<std::string>{});
            EXPECT_EQ(core.quits, 0);
            EXPECT_EQ(core.m_nCount == 0, c.outcome == Outcome::Empty);
            break;
        case Outcome::SettingsError:
            ASSERT_EQ(core.errors.size(), 1u);
            EXPECT_EQ(core.errors[0], SettingsOpenError(0));
            EXPECT_EQ(core.quits, 1);
            EXPECT_EQ(core.m_strDataFile, "Tolvari.dat") << "the defaults stay";
            break;
        case Outcome::DataError:
            ASSERT_EQ(core.errors.size(), 1u);
            EXPECT_EQ(core.errors[0], DataFileOpenError(core.m_strDataFile, 0));
            EXPECT_EQ(core.quits, 1);
            EXPECT_EQ(core.m_nCount, 0);
            EXPECT_EQ(core.CurrentRecord, 0);
            break;
        }
        if (!c.rows.empty() || c.outcome == Outcome::Empty) {
            EXPECT_EQ(RowsOf(core), c.rows);
        }
        if (c.check)
            c.check(core);
        if (c.outcome == Outcome::SettingsError || c.outcome == Outcome::DataError) {
            EXPECT_EQ(ReadBytes("Tolvari.dat"), c.data) << "nothing is written";
            continue;
        }

        // Closing the editor saves; the file then reads back the same list.
        const Rows read = RowsOf(core);
        core.SaveFile();
        EXPECT_EQ(core.errors, std::vector<std::string>{});
        RecordList again;
        ASSERT_TRUE(LoadDataFile(core.m_strDataFile, again));
        EXPECT_TRUE(RowsOf(again) == read) << "a record was lost or changed";
    }
}

const char kHoliday[] = "05.03 9999 Holiday\r\n";
const char kHolidaySaved[] = "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n05.03 9999 Holiday\r\n";

// The core has read its one record from Tolvari.dat, then the file goes.
void LoadThenRemoveDataFile(TestCore& core)
{
    WriteBytes("Tolvari.ini", kIni);
    WriteBytes("Tolvari.dat", kHoliday);
    core.LoadIniFile();
    core.LoadFile();
    ASSERT_EQ(::remove("Tolvari.dat"), 0);
}

TEST(BadInputTable, CzechFileNameIsFoundAndWrittenUnderItsOwnName)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    // "Dvořák.dat" in code page 1250 bytes, as the settings file holds it.
    WriteBytes("Tolvari.ini", "FILE=Dvo\xF8\xE1k.dat\r\n");
    WriteBytes("Dvo\xF8\xE1k.dat", kHoliday);
    TestCore core;
    core.LoadIniFile();
    core.LoadFile();
    EXPECT_TRUE(core.errors.empty());
    ASSERT_EQ(core.m_nCount, 1);
    core.SaveFile();
    EXPECT_TRUE(core.errors.empty());
    EXPECT_EQ(ReadBytes("Dvo\xF8\xE1k.dat"), kHolidaySaved);
    EXPECT_EQ(CountEntries("."), 2);
}

TEST(BadInputTable, DataFileThatDisappearsBeforeASaveIsWrittenAnew)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    TestCore core;
    ASSERT_NO_FATAL_FAILURE(LoadThenRemoveDataFile(core));
    core.SaveFile();
    EXPECT_TRUE(core.errors.empty());
    EXPECT_EQ(ReadBytes("Tolvari.dat"), kHolidaySaved);
}

// A directory in the data file's place cannot be replaced: the save is
// reported, the directory and the list stay, and the program goes on.
TEST(BadInputTable, DataFileReplacedByADirectoryBeforeASaveIsReported)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    TestCore core;
    ASSERT_NO_FATAL_FAILURE(LoadThenRemoveDataFile(core));
    ASSERT_EQ(::mkdir("Tolvari.dat", 0755), 0);
    core.SaveFile();
    ASSERT_EQ(core.errors.size(), 1u);
    EXPECT_EQ(core.errors[0], DataFileWriteError("Tolvari.dat", 0));
    EXPECT_EQ(core.quits, 0);
    EXPECT_EQ(core.m_nCount, 1);
    EXPECT_EQ(CountEntries("Tolvari.dat"), 0);
    EXPECT_EQ(CountEntries("."), 2) << "no temporary file is left";
}

TEST(BadInputMessages, LongFileNamesLoseTheirMiddle)
{
    const std::string exact(kMaxShownFileName, 'n'), n64(64, 'n');
    const std::string path = "C:\\" + std::string(300, 'd') + "\\Tolvari.dat";
    const struct {
        std::string name, shown;
    } cases[] = {
        {"Tolvari.dat", "Tolvari.dat"},
        {exact, n64 + "\n" + n64 + "\n" + n64 + "\n" + n64 + "\nnnnn"},
        {exact + "N", n64 + "\n" + n64 + "\n..." + std::string(61, 'n') + "\n" + n64 + "\nnnnN"},
        {path, "C:\\" + std::string(61, 'd') + "\n" + std::string(64, 'd') + "\n..." + std::string(61, 'd') + "\n" +
                   std::string(56, 'd') + "\\\nTolvari.dat"},
    };
    for (const auto& c : cases) {
        for (int language : {0, 1}) {
            const std::string open = DataFileOpenError(c.name, language);
            const std::string write = DataFileWriteError(c.name, language);
            EXPECT_NE(open.find(" " + c.shown + "\n\n"), std::string::npos) << open;
            EXPECT_NE(write.find(" " + c.shown + "\n\n"), std::string::npos) << write;
        }
    }
}

TEST(BadInputReportField, LongLinesAndTextsAreCutWithAMark)
{
    const std::string line(kMaxFieldLine, 'a');
    const struct {
        const char* what;
        std::string text, fitted;
    } cases[] = {
        {"short", "a\r\nb", "a\r\nb"},
        {"a line at the limit", line, line},
        {"a line one longer", line + "b", line + "..."},
        {"long lines among short ones", "x\r\n" + line + "bc\r\ny\r\n" + line + "d",
         "x\r\n" + line + "...\r\ny\r\n" + line + "..."},
        {"a lone CR is no line break", std::string(kMaxFieldLine, '\r') + "x",
         std::string(kMaxFieldLine, '\r') + "..."},
        {"a trailing line break stays", line + "\r\n", line + "\r\n"},
        {"NUL bytes show as question marks", Bytes("a\0b\r\n\0"), "a?b\r\n?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitReportField(c.text), c.fitted) << c.what;

    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "line " + std::to_string(i) + "\r\n";
    const std::string fitted = FitReportField(many);
    EXPECT_EQ(fitted.size(), kMaxFieldText + 3);
    EXPECT_EQ(fitted.substr(0, kMaxFieldText), many.substr(0, kMaxFieldText));
    EXPECT_EQ(fitted.substr(kMaxFieldText), "...");
}

}  // namespace
