// The main window's core: the settings file's rules, a failed save, the day
// the editor closes on, and the report texts fitted to their fields.
#include "app/TodayCore.h"

#include <sys/resource.h>
#include <sys/wait.h>

#include <climits>

#include <gtest/gtest.h>

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

// A directory put in the data file's place while the program runs: the save
// is reported and the changes kept; once the place is free again, the next
// save writes the file anew, and a failure box no longer says changes are lost.
TEST(TodayCoreSaving, FailedSaveIsReportedAndKeepsTheChangesForTheNext)
{
    TempDir dir;
    WriteBytes(dir.File("t.dat"), "05.03 0000 A\r\n");
    TestCore core;
    core.m_strDataFile = dir.File("t.dat");
    core.LoadFile();
    core.m_arrName.SetAt(0, "changed");
    core.UnsavedChanges = true;
    std::filesystem::remove(dir.File("t.dat"));
    std::filesystem::create_directory(dir.File("t.dat"));
    core.SaveFile();
    EXPECT_EQ(core.errors, std::vector<std::string>{"Error: Can't write file " + core.m_strDataFile +
                                                    "\n\nYour changes are kept. Close the editor again to save them."});
    EXPECT_EQ(core.quits, 0);
    std::filesystem::remove(dir.File("t.dat"));
    core.SaveFile();
    EXPECT_EQ(core.errors.size(), 1u);
    EXPECT_STREQ(UnexpectedFailureText(true, core.UnsavedChanges, 0), "Error: Not enough memory.\n\nThe program ends.");
    EXPECT_EQ(ReadBytes(dir.File("t.dat")), "[***CALENDAR***]\r\n05.03 0000 changed\r\n");
}

// The editor has closed on a record: its day and month in the same year,
// with the weekday that date has; indices outside the lists keep the day.
TEST(TodayCoreEditorDate, TakesDayAndMonthWithTheirWeekday)
{
    TestCore core;
    core.m_nDay = 31, core.m_nMonth = 12, core.m_nYear = 2001, core.m_nDOW = 2;
    core.TakeEditorDate(-1, 2);
    core.TakeEditorDate(4, 12);
    EXPECT_EQ(FormatDateLine(core, 0), "Monday, December  31, 2001");
    core.TakeEditorDate(30, 1);  // 31 February 2001 is counted on to 3 March, a Saturday
    EXPECT_EQ(FormatDateLine(core, 0), "Saturday, February  31, 2001");
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

// A file below the size limit that the process cannot hold (a 32-bit one,
// 1.5 GB): a sparse 1 GB file in a child whose address space is cut to 512 MB.
TEST(LoadLimits, FileBeyondTheProcessMemoryIsReportedAndEndsTheProgram)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space";
#endif
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    WriteBytes(path, "24.12 9999 Eve\r\n");
    ASSERT_EQ(::truncate(path.c_str(), 1LL << 30), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit = {512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        TestCore core;  // an escaping failure ends the child with std::terminate
        core.m_strDataFile = path;
        core.LoadFile();
        const bool told = core.errors == std::vector<std::string>{DataFileMemoryError(path, 0)};
        ::_exit(told && core.quits == 1 && core.m_nCount == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
