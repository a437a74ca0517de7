#include "app/TodayCore.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "records/DataFile.h"

namespace {

// Records the user-facing effects instead of showing them.
class TestCore : public CTodayCore {
public:
    explicit TestCore(int language) : CTodayCore(language) {}

    std::vector<std::string> errors;
    int quits = 0;
    int reports = 0;

protected:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override { ++reports; }
};

const char kData[] = "[***CALENDAR***]\r\n05.03 0000 Bed\xF8ich\r\n06.03 0000 Miroslav\r\n\r\n"
                     "[***CUSTOM***]\r\n05.03 1950 Grandpa\r\n05.03 9999 Holiday\r\n"
                     "07.03 8888 Wedding\r\n";

TEST(TodayCoreSettings, MissingFileReportsQuitsAndKeepsDefaults)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    const struct {
        int language;
        const char* error;
        const char* dataFile;
    } cases[] = {
        {0, "Error: Can't open file Tolvari.ini\n\nThe file doesn't exist in the current directory.",
         "Tolvari.dat"},
        {1,
         "Chyba: Nem\xF9\x9Eu otev\xF8\xEDt soubor Sorvana.ini\n\nSoubor z\xF8"
         "ejm\xEC v aktu\xE1ln\xEDm adres\xE1\xF8i neexistuje.",
         "Sorvana.dat"},
    };
    for (const auto& c : cases) {
        TestCore core(c.language);
        core.m_strFont1 = "left over";
        core.LoadIniFile();
        ASSERT_EQ(core.errors.size(), 1u);
        EXPECT_EQ(core.errors[0], c.error);
        EXPECT_EQ(core.quits, 1);
        EXPECT_EQ(core.m_strDataFile, c.dataFile);
        EXPECT_EQ(core.m_strFont1, "Helvetica");
        EXPECT_EQ(core.m_strSize2, "16");
    }
}

TEST(TodayCoreSettings, FileOfTheLanguageIsRead)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    WriteBytes("Tolvari.ini", "FILE=english.dat\r\nSIZE1=20\r\n");
    WriteBytes("Sorvana.ini", "FILE=czech.dat\nFACE2=BOLD\n");
    TestCore en(0);
    en.LoadIniFile();
    EXPECT_EQ(en.m_strDataFile, "english.dat");
    EXPECT_EQ(en.m_strSize1, "20");
    EXPECT_EQ(en.m_strFace2, "NORMAL");
    TestCore cz(1);
    cz.LoadIniFile();
    EXPECT_EQ(cz.m_strDataFile, "czech.dat");
    EXPECT_EQ(cz.m_strSize1, "18");
    EXPECT_EQ(cz.m_strFace2, "BOLD");
    EXPECT_TRUE(en.errors.empty());
    EXPECT_TRUE(cz.errors.empty());
    EXPECT_EQ(en.quits + cz.quits, 0);
}

TEST(TodayCoreDataFile, MissingFileReportsItsNameAndQuits)
{
    TempDir dir;
    for (int language : {0, 1}) {
        TestCore core(language);
        core.m_strDataFile = dir.File("no %s here.dat");
        core.LoadFile();
        ASSERT_EQ(core.errors.size(), 1u);
        EXPECT_EQ(core.errors[0], DataFileOpenError(core.m_strDataFile, language));
        EXPECT_NE(core.errors[0].find("no %s here.dat"), std::string::npos);
        EXPECT_EQ(core.quits, 1);
        EXPECT_EQ(core.m_nCount, 0);
        EXPECT_EQ(core.CurrentRecord, 0);
    }
}

TEST(TodayCoreDataFile, LoadEditSaveLoad)
{
    TempDir dir;
    TestCore core(0);
    core.m_strDataFile = dir.File("t.dat");
    WriteBytes(core.m_strDataFile, kData);
    core.LoadFile();
    EXPECT_TRUE(core.errors.empty());
    EXPECT_EQ(core.m_nCount, 5);
    EXPECT_EQ(core.CurrentRecord, 1);

    core.m_arrName.SetAt(1, "Mirek");
    core.m_arrDay.Add("08");
    core.m_arrMonth.Add("03");
    core.m_arrYear.Add("0000");
    core.m_arrName.Add("Gabriela");
    ++core.m_nCount;
    core.SaveFile();
    EXPECT_TRUE(core.errors.empty());
    EXPECT_EQ(core.quits, 0);

    TestCore again(0);
    again.m_strDataFile = core.m_strDataFile;
    again.LoadFile();
    ASSERT_EQ(again.m_nCount, 6);
    EXPECT_EQ(again.m_arrName[1], "Mirek");
    EXPECT_EQ(again.m_arrName[5], "Gabriela");
    EXPECT_EQ(again.m_arrName[0], "Bed\xF8ich");
}

TEST(TodayCoreDataFile, FailedSaveKeepsChangesAndDoesNotQuit)
{
    TempDir dir;
    const std::string sub = dir.File("sub");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    for (int language : {0, 1}) {
        TestCore core(language);
        core.m_strDataFile = sub + "/t.dat";
        WriteBytes(core.m_strDataFile, kData);
        core.LoadFile();
        core.m_arrName.SetAt(0, "changed");

        // The data file's directory goes away while the program runs.
        ASSERT_EQ(::rename(sub.c_str(), dir.File("moved").c_str()), 0);
        core.SaveFile();
        ASSERT_EQ(core.errors.size(), 1u);
        EXPECT_EQ(core.errors[0], DataFileWriteError(core.m_strDataFile, language));
        EXPECT_EQ(core.quits, 0);
        EXPECT_EQ(core.m_nCount, 5);
        EXPECT_EQ(core.m_arrName[0], "changed");
        EXPECT_EQ(ReadBytes(dir.File("moved/t.dat")), kData);
        EXPECT_EQ(CountEntries(dir.File("moved")), 1);

        // Once the directory is back, closing the editor again saves.
        ASSERT_EQ(::rename(dir.File("moved").c_str(), sub.c_str()), 0);
        core.SaveFile();
        EXPECT_EQ(core.errors.size(), 1u);
        EXPECT_NE(ReadBytes(core.m_strDataFile).find("05.03 0000 changed\r\n"), std::string::npos);
    }
}

TEST(TodayCoreReport, FindInfoSetsTextsAndCurrentRecord)
{
    TempDir dir;
    TestCore core(0);
    core.m_strDataFile = dir.File("t.dat");
    WriteBytes(core.m_strDataFile, kData);
    core.LoadFile();
    std::tm t = {};
    t.tm_mday = 5;
    t.tm_mon = 2;
    t.tm_year = 101;
    t.tm_wday = 1;
    core.SetDateFromClock(t);
    const CurrentDate before = core;

    core.FindInfo();
    EXPECT_EQ(core.reports, 1);
    EXPECT_TRUE(static_cast<const CurrentDate&>(core) == before);
    EXPECT_EQ(core.m_showDnes, "Monday, March  5, 2001");
    EXPECT_EQ(core.m_showCalendar, "Bed\xF8ich");
    EXPECT_EQ(core.m_showHolidays, "Holiday");
    EXPECT_EQ(core.m_showBirthdays, "Grandpa (51 let)");
    EXPECT_EQ(core.m_showNextDays, "\r\nWedding\r\nMiroslav");
    EXPECT_EQ(core.CurrentRecord, 3);

    // A day without records keeps the position.
    core.NextDay();
    core.NextDay();
    core.NextDay();
    core.FindInfo();
    EXPECT_EQ(core.CurrentRecord, 3);
    EXPECT_EQ(core.m_showCalendar, "");
    EXPECT_EQ(core.m_showDnes, "Thursday, March  8, 2001");
    core.PrevDay();
    core.FindInfo();
    EXPECT_EQ(core.CurrentRecord, 4);
    EXPECT_EQ(core.m_showBirthdays, "Wedding");
    EXPECT_EQ(core.reports, 3);
}

TEST(TodayCoreReport, CzechDateLine)
{
    TestCore core(1);
    core.m_nDay = 5;
    core.m_nMonth = 3;
    core.m_nYear = 2001;
    core.m_nDOW = 2;
    core.FindInfo();
    EXPECT_EQ(core.m_showDnes, "pond\xECl\xED  5. b\xF8" "ezen  2001");
    EXPECT_EQ(core.m_showNextDays, "\r\n\r\n");
    EXPECT_EQ(core.CurrentRecord, 0);
}

}  // namespace

namespace {

TEST(TodayCoreEditorDate, TakesDayAndMonthWithTheirWeekday)
{
    const struct {
        int dayIndex, monthIndex;
        int day, month, dow;  // expected; the year stays 2001
    } cases[] = {
        {4, 2, 5, 3, 2},     // 5 March 2001 was a Monday
        {28, 1, 29, 2, 5},   // 29 February 2001 counts as 1 March, a Thursday
        {0, 0, 1, 1, 2},     // an emptied list leaves 01.01
        {-1, 2, 31, 12, 2},  // no day selected: the displayed date stays
        {31, 2, 31, 12, 2},
        {4, 12, 31, 12, 2},
        {4, -1, 31, 12, 2},
    };
    for (const auto& c : cases) {
        TestCore core(0);
        core.m_nDay = 31;
        core.m_nMonth = 12;
        core.m_nYear = 2001;
        core.m_nDOW = 2;  // Monday, 31 December 2001
        core.TakeEditorDate(c.dayIndex, c.monthIndex);
        EXPECT_EQ(core.m_nDay, c.day) << c.dayIndex << "/" << c.monthIndex;
        EXPECT_EQ(core.m_nMonth, c.month) << c.dayIndex << "/" << c.monthIndex;
        EXPECT_EQ(core.m_nYear, 2001);
        EXPECT_EQ(core.m_nDOW, c.dow) << c.dayIndex << "/" << c.monthIndex;
    }
}

}  // namespace
