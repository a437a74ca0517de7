#include "app/TodayCore.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "records/DataFile.h"

namespace {

// Records the user-facing effects instead of showing them.
class TestCore : public CTodayCore {
public:
    explicit TestCore(int language, const std::string& dataFile = "") : CTodayCore(language)
    {
        m_strDataFile = dataFile;
    }
    std::vector<std::string> errors;
    int quits = 0, reports = 0;

protected:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void RequestQuit() override { ++quits; }
    void ShowReport() override { ++reports; }
};

const char kData[] = "[***CALENDAR***]\r\n05.03 0000 Bed\xF8ich\r\n06.03 0000 Miroslav\r\n\r\n"
                     "[***CUSTOM***]\r\n05.03 1950 Grandpa\r\n05.03 9999 Holiday\r\n"
                     "07.03 8888 Wedding\r\n";

TEST(TodayCoreFiles, MissingSettingsOrDataFileReportAndQuit)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    for (int language : {0, 1}) {
        TestCore core(language);
        core.m_strFont1 = "left over";
        core.LoadIniFile();
        EXPECT_EQ(core.m_strDataFile, language ? "Sorvana.dat" : "Tolvari.dat");
        EXPECT_EQ(core.m_strFont1, "Helvetica");
        core.m_strDataFile = "no %s here.dat";
        core.LoadFile();
        EXPECT_EQ(core.errors, (std::vector<std::string>{SettingsOpenError(language),
                                                         DataFileOpenError("no %s here.dat", language)}));
        EXPECT_EQ(core.quits, 2);
        EXPECT_EQ(core.m_nCount, 0);
    }
}

TEST(TodayCoreSettings, FileOfTheLanguageOverDefaults)
{
    TempDir dir;
    ChangeDir in(dir.Path());
    WriteBytes("Tolvari.ini", "FILE=english.dat\r\n");
    WriteBytes("Sorvana.ini", "FACE2=BOLD\n");
    TestCore en(0), cz(1);
    en.m_strFace2 = cz.m_strSize1 = "left over";
    en.LoadIniFile();
    cz.LoadIniFile();
    EXPECT_EQ(en.m_strDataFile + " " + en.m_strFace2, "english.dat NORMAL");
    EXPECT_EQ(cz.m_strDataFile + " " + cz.m_strFace2 + " " + cz.m_strSize1, "Sorvana.dat BOLD 18");
    EXPECT_EQ(en.errors.size() + cz.errors.size() + en.quits + cz.quits, 0u);
}

TEST(TodayCoreDataFile, FailedSaveKeepsFileAndChangesAndDoesNotQuit)
{
    TempDir dir;
    const std::string sub = dir.File("sub");
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    for (int language : {0, 1}) {
        TestCore core(language, sub + "/t.dat");
        WriteBytes(core.m_strDataFile, kData);
        core.LoadFile();
        core.m_arrName.SetAt(0, "changed");

        // The data file's directory goes away while the program runs.
        ASSERT_EQ(::rename(sub.c_str(), dir.File("moved").c_str()), 0);
        core.SaveFile();
        EXPECT_EQ(core.errors, std::vector<std::string>{DataFileWriteError(core.m_strDataFile, language)});
        EXPECT_EQ(core.quits, 0);
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

// The texts themselves are the day report's; here what the core adds to it.
TEST(TodayCoreReport, FindInfoShowsTheDayAndMovesToItsLastRecord)
{
    TempDir dir;
    TestCore core(1, dir.File("t.dat"));
    WriteBytes(core.m_strDataFile, kData);
    core.LoadFile();
    EXPECT_EQ(core.CurrentRecord, 1);
    const std::pair<int, int> days[] = {{5, 3}, {8, 3}, {7, 4}};  // a day without records keeps it
    for (auto [day, current] : days) {
        core.m_nDay = day, core.m_nMonth = 3, core.m_nYear = 2001, core.m_nDOW = 2;
        core.FindInfo();
        EXPECT_EQ(core.CurrentRecord, current) << day;
    }
    EXPECT_EQ(core.m_showDnes, "pond\xECl\xED  7. b\xF8" "ezen  2001");
    EXPECT_EQ(core.m_showBirthdays, "Wedding");
    EXPECT_EQ(core.reports, 3);
}

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
        {31, 2, 31, 12, 2}, {4, 12, 31, 12, 2}, {4, -1, 31, 12, 2},
    };
    for (const auto& c : cases) {
        TestCore core(0);
        core.m_nDay = 31, core.m_nMonth = 12, core.m_nYear = 2001, core.m_nDOW = 2;
        core.TakeEditorDate(c.dayIndex, c.monthIndex);
        EXPECT_EQ(std::vector<int>({core.m_nDay, core.m_nMonth, core.m_nYear, core.m_nDOW}),
                  std::vector<int>({c.day, c.month, 2001, c.dow})) << c.dayIndex << "/" << c.monthIndex;
    }
}

}  // namespace
