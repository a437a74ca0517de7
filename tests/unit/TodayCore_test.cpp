// The main window's core: the settings file's rules, a failed save, the day
// the editor closes on, and the report texts fitted to their fields.
#include "app/TodayCore.h"

#include <unistd.h>

#include <climits>

#include <gtest/gtest.h>

#include "Failures.h"
#include "Rows.h"
#include "calendar/MovableHolidays.h"
#include "records/DataFile.h"

using namespace std::string_literals;

TEST(SettingsReading, LinesApplyByTheRules)
{
    const std::pair<const char*, const char*> cases[] = {
        // the file; FILE, FONT1, FACE1, SIZE1, FONT2, FACE2, SIZE2, HOLIDAYS
        {"FILE = my.dat\r\nFONT1=a=b\r\nFACE1=BOLD\nSIZE1=9\nFONT2=X\nFACE2=ITALIC\nSIZE2=7\nHOLIDAYS= cz ",
         " my.dat|a=b|BOLD|9|X|ITALIC|7| cz "},
        {"; FILE names SIZE2\r\nfile=lower.dat\r\nHOLIDAYS=DE\r\n HOLIDAYS=AT\r\nholidays=PL",
         "; FILE names SIZE2|Helvetica|ITALIC_BOLD|18|Helvetica|NORMAL|; FILE names SIZE2|DE"},
        {"FILE=one\nFILE=two\rSIZE1=3\n", "two\rSIZE1=3|Helvetica|ITALIC_BOLD|two\rSIZE1=3|Helvetica|NORMAL|16|"},
    };
    for (const auto& [text, values] : cases) {
        Settings s = DefaultSettings(0);
        ApplySettingsText(s, text);
        EXPECT_EQ(s.m_strDataFile + "|" + s.m_strFont1 + "|" + s.m_strFace1 + "|" + s.m_strSize1 + "|" + s.m_strFont2 +
                      "|" + s.m_strFace2 + "|" + s.m_strSize2 + "|" + s.m_strHolidays,
                  values);
    }
    for (const char* unknown : {"", "XX", "CZE", "C Z"})  // an unknown country is no country
        EXPECT_EQ(FindHolidayCountry(unknown), nullptr) << unknown;
    EXPECT_TRUE(FindHolidayCountry(" cz\t") == FindHolidayCountry("CZ") && FindHolidayCountry("CZ"));
    const FontDescription f = DescribeFont(std::string(40, 'F'), "BOLD_ITALIC", std::string(30, '9'));
    EXPECT_EQ(std::tuple(f.face, f.height, f.weight, f.italic), std::tuple(std::string(31, 'F'), INT_MAX, 800, true));
}

struct TestCore : CTodayCore {
    TestCore() : CTodayCore(0) {}
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override {}
    std::vector<std::string> errors;
    int quits = 0;
};

using filesys::FaultCall;

const std::string kOld = "[***CALENDAR***]\r\n05.03 0000 A\r\n29.02 0000 B\r\n";
const std::string kNew = "[***CALENDAR***]\r\n05.03 0000 changed\r\n29.02 0000 B\r\n";

// A failed call of the settings read gives its box, of the data file's read
// the data file's box; the mark and the lock fail silently. The whole list
// or nothing is loaded; the report after it fails only for want of memory.
// Every kind of call, and every allocation.
TEST(FailureRuns, StartUpGivesTheBoxOfTheFileThatFailed)
{
    TempDir dir;
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    WriteBytes("Tolvari.ini", "FILE=Tolvari.dat\r\n"), WriteBytes("Tolvari.dat", kOld);
    ForEveryFailure([&](FaultCall kind, int error, auto arm) {
        const bool memory = kind == FaultCall::Count;
        TestCore core;
        arm();
        core.LoadIniFile();
        const bool settings = faults::Fired();
        try {
            if (core.quits == 0 && (core.LoadFile(), core.quits == 0))
                core.FindInfo();
        } catch (const std::bad_alloc&) {
            EXPECT_TRUE(memory);  // of the report: the guard's box
        }
        faults::Arm(FaultCall::Count, 0);
        // None after no failure, or one of the mark or the lock.
        const std::string box = core.errors.empty() ? ""
                                : settings ? memory ? DataFileMemoryError("Tolvari.ini", 0) : SettingsOpenError(0)
                                : memory ? DataFileMemoryError("Tolvari.dat", 0)
                                           : DataFileOpenError("Tolvari.dat", 0);
        EXPECT_EQ(std::tuple(core.errors, core.quits, core.m_nCount),
                  box.empty() ? std::tuple(std::vector<std::string>(), 0, 2) : std::tuple(std::vector{box}, 1, 0));
        EXPECT_TRUE(box.empty() || error != EINTR);
    });
    std::filesystem::current_path(cwd);
}

// The data file after a failed save is the old one and the changes stay for
// the next close of the editor, which leaves no temporary file; a save that
// succeeds moves the mark to the new file. A call a signal interrupts is
// made again.
TEST(FailureRuns, SaveKeepsTheOldFileOrWritesTheNewOneWhole)
{
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    ForEveryFailure([&](FaultCall kind, int error, auto arm) {
        WriteBytes(path, kOld);
        TestCore core;
        core.m_strDataFile = path;
        core.LoadFile();
        core.m_arrName.SetAt(0, "changed");
        core.UnsavedChanges = true;
        arm();
        core.SaveFile();
        faults::Arm(FaultCall::Count, 0);
        const bool saved = core.errors.empty();
        const std::string box =
            kind == FaultCall::Count ? DataFileSaveMemoryError(path, 0) : DataFileWriteError(path, 0);
        EXPECT_EQ(
            std::tuple(ReadBytes(path), core.errors, core.UnsavedChanges),
            saved ? std::tuple(kNew, std::vector<std::string>(), false) : std::tuple(kOld, std::vector{box}, true));
        EXPECT_TRUE(saved || error != EINTR);
        EXPECT_TRUE(IsMarkedRunning(path) || kind == FaultCall::Mark || kind == FaultCall::Open);
        core.SaveFile();
        EXPECT_EQ(ReadBytes(path), kNew);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
    });
}

// The editor has closed on a record: its day and month in the same year,
// with the weekday that date has; indices outside the lists keep the day. In
// a year without 29 February, closing on the 29.02 record it opened on (the
// last of 28 February's) keeps the 28th; another one of 29.02 shows the 29th.
TEST(TodayCoreEditorDate, TakesDayAndMonthWithTheirWeekday)
{
    TestCore core;
    static_cast<RecordList&>(core) = ListOf({{"29", "02", "1996", "Leap"}, {"29", "02", "1990", "Other"}});
    core.m_nDay = 31, core.m_nMonth = 12, core.m_nYear = 2001, core.m_nDOW = 2;
    core.TakeEditorDate(-1, 2);
    core.TakeEditorDate(4, 12);
    EXPECT_EQ(FormatDateLine(core, 0), "Monday, December  31, 2001");
    core.TakeEditorDate(30, 1);  // 31 February 2001 is counted on to 3 March, a Saturday
    EXPECT_EQ(FormatDateLine(core, 0), "Saturday, February  31, 2001");
    core.m_nDay = 28, core.m_nMonth = 2, core.m_nYear = 2027, core.m_nDOW = 1;
    core.FindInfo();
    for (int closedOn : {1, 0}) {
        core.EditorOpening();
        core.CurrentRecord = closedOn;
        core.TakeEditorDate(28, 1);
        EXPECT_EQ(FormatDateLine(core, 0), closedOn ? "Sunday, February  28, 2027" : "Monday, February  29, 2027");
    }
}

TEST(ReportField, LongTextsAreCutAndNulBytesShowAsQuestionMarks)
{
    const std::string line(kMaxFieldLine, 'a');
    std::string many;
    while (many.size() < kMaxFieldText)
        many += "line\r\n";
    const std::pair<std::string, std::string> cases[] = {
        {"a\0b\r\n\0"s, "a?b\r\n?"},
        {"x\r\n" + line + "bc\r\n" + line, "x\r\n" + line + "...\r\n" + line},
        {many + "end", many.substr(0, kMaxFieldText) + "..."},
    };
    for (const auto& [text, fitted] : cases)
        EXPECT_EQ(FitReportField(text), fitted);
}
