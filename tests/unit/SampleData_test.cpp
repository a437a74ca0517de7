// The sample files shipped in data/ and in the release: the default settings
// and a data file laid out exactly as the program saves it, with the Czech
// name-day calendar for every day of the year, the public holidays and a few
// birthdays and anniversaries.
#include <algorithm>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/Settings.h"
#include "calendar/CurrentDate.h"
#include "calendar/DayReport.h"
#include "records/DataFile.h"

namespace {

// data/ of this source tree, found from this file's own path.
std::string DataPath(const std::string& name)
{
    const std::string here = __FILE__;
    const size_t cut = here.rfind("tests/unit/");
    return (cut == std::string::npos ? std::string() : here.substr(0, cut)) + "data/" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Unicode of the code page 1250 bytes 0x80..0xFF; 0 where the code page
// defines no character.
const uint16_t kCp1250High[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Code page 1250 bytes as UTF-8; false at a byte the code page leaves undefined.
bool Cp1250ToUtf8(const std::string& bytes, std::string& out)
{
    out.clear();
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const uint16_t u = kCp1250High[c - 0x80];
        if (u == 0)
            return false;
        if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
    return true;
}

std::vector<std::string> SplitCrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));  // a last line without CR LF
    return lines;
}

class SampleData : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = ReadFile(DataPath("Tolvari.dat"));
        ASSERT_FALSE(bytes.empty()) << DataPath("Tolvari.dat");
        ASSERT_TRUE(LoadDataFile(DataPath("Tolvari.dat"), list));
    }

    // Records on the day, in list order, as (year, name).
    std::vector<std::pair<std::string, std::string>> On(int day, int month) const
    {
        std::vector<std::pair<std::string, std::string>> found;
        for (int i = 0; i < list.m_nCount; ++i) {
            if (list.m_arrDay[i] == DayKey(day) && list.m_arrMonth[i] == DayKey(month))
                found.emplace_back(std::string(list.m_arrYear[i]), std::string(list.m_arrName[i]));
        }
        return found;
    }

    std::vector<std::string> CalendarNamesOn(int day, int month) const
    {
        std::vector<std::string> names;
        for (const auto& r : On(day, month))
            if (r.first == "0000")
                names.push_back(r.second);
        return names;
    }

    std::string bytes;
    RecordList list;
};

TEST_F(SampleData, SavingTheLoadedFileGivesTheSameBytes)
{
    EXPECT_EQ(FormatDataFile(list, 0), bytes);
}

TEST_F(SampleData, CalendarEntriesFirstInDayOrderThenTheCustomSection)
{
    ASSERT_GE(list.m_nCount, 366);
    int day = 1, month = 1;
    for (int i = 0; i < 366; ++i) {
        EXPECT_EQ(list.m_arrYear[i], "0000") << "record " << i;
        EXPECT_EQ(list.m_arrDay[i], DayKey(day)) << "record " << i;
        EXPECT_EQ(list.m_arrMonth[i], DayKey(month)) << "record " << i;
        if (++day > MonthLength(month, 2024)) {
            day = 1;
            ++month;
        }
    }
    for (int i = 366; i < list.m_nCount; ++i)
        EXPECT_NE(list.m_arrYear[i], "0000") << "record " << i;
    const std::string joint = "\r\n31.12 0000 Silvestr\r\n\r\n[***CUSTOM***]\r\n";
    EXPECT_NE(bytes.find(joint), std::string::npos);
}

TEST_F(SampleData, EveryDayOfALeapYearHasExactlyOneCalendarEntry)
{
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= MonthLength(month, 2024); ++day) {
            const auto names = CalendarNamesOn(day, month);
            ASSERT_EQ(names.size(), 1u) << day << "." << month;
            EXPECT_FALSE(names[0].empty()) << day << "." << month;
        }
    }
}

// First and last day of every month: a list shifted by a day shows here.
TEST_F(SampleData, MonthsStartAndEndOnTheirOwnNames)
{
    const struct {
        int day, month;
        const char* name;
    } anchors[] = {
        {1, 1, "Nov\xFD rok"},   {31, 1, "Marika"},
        {1, 2, "Hynek"},         {29, 2, "Horym\xEDr"},
        {1, 3, "Bed\xF8ich"},    {31, 3, "Kvido"},
        {1, 4, "Hugo"},          {30, 4, "Blahoslav"},
        {1, 5, "Sv\xE1tek pr\xE1" "ce"}, {31, 5, "Kamila"},
        {1, 6, "Laura"},         {30, 6, "\x8A\xE1rka"},
        {1, 7, "Jaroslava"},     {31, 7, "Ign\xE1" "c"},
        {1, 8, "Oskar"},         {31, 8, "Pavl\xEDna"},
        {1, 9, "Linda a Samuel"}, {30, 9, "Jeron\xFDm"},
        {1, 10, "Igor"},         {31, 10, "\x8At\xECp\xE1nka"},
        {1, 11, "Felix"},        {30, 11, "Ond\xF8" "ej"},
        {1, 12, "Iva"},          {31, 12, "Silvestr"},
        {24, 12, "Adam a Eva"},  {25, 12, "Bo\x9E\xED hod v\xE1no\xE8n\xED"},
    };
    for (const auto& a : anchors)
        EXPECT_EQ(CalendarNamesOn(a.day, a.month), std::vector<std::string>{a.name})
            << a.day << "." << a.month;
}

// The calendar line is a one-line field in the large bold font: about 24
// letters fit. A holiday's full name belongs to its holiday record, shown in
// the multi-line field; the calendar keeps the short text calendars print.
TEST_F(SampleData, CalendarEntriesAreShortEnoughForTheOneLineField)
{
    for (int i = 0; i < list.m_nCount; ++i) {
        if (list.m_arrYear[i] == "0000")
            EXPECT_LE(list.m_arrName[i].size(), 21u)
                << list.m_arrDay[i] << "." << list.m_arrMonth[i] << " " << list.m_arrName[i];
    }
    EXPECT_EQ(CalendarNamesOn(28, 10), std::vector<std::string>{"St\xE1tn\xED sv\xE1tek"});
    const auto on = On(28, 10);
    const std::pair<std::string, std::string> holiday(
        "9999", "Den vzniku samostatn\xE9ho \xE8" "eskoslovensk\xE9ho st\xE1tu");
    EXPECT_NE(std::find(on.begin(), on.end(), holiday), on.end());
}

TEST_F(SampleData, FixedDatePublicHolidaysAndChristmasEveAreHolidays)
{
    const struct {
        int day, month;
        const char* name;
    } holidays[] = {
        {1, 1, "Den obnovy samostatn\xE9ho \xE8" "esk\xE9ho st\xE1tu"},
        {1, 5, "Sv\xE1tek pr\xE1" "ce"},
        {8, 5, "Den v\xEDt\xECzstv\xED"},
        {5, 7, "Den slovansk\xFD" "ch v\xECrozv\xECst\xF9 Cyrila a Metod\xECje"},
        {6, 7, "Den up\xE1len\xED mistra Jana Husa"},
        {28, 9, "Den \xE8" "esk\xE9 st\xE1tnosti"},
        {28, 10, "Den vzniku samostatn\xE9ho \xE8" "eskoslovensk\xE9ho st\xE1tu"},
        {17, 11, "Den boje za svobodu a demokracii a Mezin\xE1rodn\xED den studentstva"},
        {24, 12, "\x8At\xEC" "dr\xFD den"},
        {25, 12, "1. sv\xE1tek v\xE1no\xE8n\xED"},
        {26, 12, "2. sv\xE1tek v\xE1no\xE8n\xED"},
    };
    for (const auto& h : holidays) {
        const auto on = On(h.day, h.month);
        const std::pair<std::string, std::string> expected("9999", h.name);
        EXPECT_NE(std::find(on.begin(), on.end(), expected), on.end()) << h.day << "." << h.month;
    }
    int count = 0;
    for (int i = 0; i < list.m_nCount; ++i)
        count += list.m_arrYear[i] == "9999";
    EXPECT_EQ(count, static_cast<int>(std::size(holidays)));
}

TEST_F(SampleData, BirthdaysShowEveryKindOfYear)
{
    std::time_t now = std::time(nullptr);
    const int thisYear = std::localtime(&now)->tm_year + 1900;
    bool noAge = false, leapDay = false, future = false, december = false;
    for (int i = 366; i < list.m_nCount; ++i) {
        const std::string year(list.m_arrYear[i]);
        if (year == "9999")
            continue;
        noAge |= year == "8888";
        const bool dated = year != "8888";
        leapDay |= dated && list.m_arrDay[i] == "29" && list.m_arrMonth[i] == "02";
        future |= dated && std::stoi(year) > thisYear;
        december |= list.m_arrMonth[i] == "12";
    }
    EXPECT_TRUE(noAge) << "a birthday with 8888";
    EXPECT_TRUE(leapDay) << "a dated birthday on 29 February";
    EXPECT_TRUE(future) << "an anniversary whose year is still ahead";
    EXPECT_TRUE(december) << "something personal in December";
}

TEST_F(SampleData, EveryRecordFallsOnADayTheReportCanShow)
{
    for (int i = 0; i < list.m_nCount; ++i) {
        const int month = std::stoi(std::string(list.m_arrMonth[i]));
        const int day = std::stoi(std::string(list.m_arrDay[i]));
        ASSERT_TRUE(month >= 1 && month <= 12) << "record " << i;
        EXPECT_TRUE(day >= 1 && day <= MonthLength(month, 2024)) << "record " << i;
        EXPECT_EQ(list.m_arrDay[i], DayKey(day)) << "record " << i;
        EXPECT_EQ(list.m_arrMonth[i], DayKey(month)) << "record " << i;
        const std::string name(list.m_arrName[i]);
        EXPECT_TRUE(!name.empty() && name.front() != ' ' && name.back() != ' ') << "record " << i;
    }
}

TEST_F(SampleData, IsCodePage1250WithCrLfLineEnds)
{
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (const std::string& line : SplitCrLfLines(bytes)) {
        for (unsigned char c : line)
            ASSERT_GE(c, 0x20) << "control byte in: " << line;
        std::string utf8;
        EXPECT_TRUE(Cp1250ToUtf8(line, utf8)) << "byte outside code page 1250 in: " << line;
    }
}

// The readable UTF-8 list is what gets edited; the data file must follow it.
TEST_F(SampleData, MatchesItsReadableSourceList)
{
    std::string utf8;
    ASSERT_TRUE(Cp1250ToUtf8(bytes, utf8));
    std::string lf;
    for (const std::string& line : SplitCrLfLines(utf8))
        lf += line + "\n";
    EXPECT_EQ(lf, ReadFile(DataPath("Tolvari.utf8.txt")))
        << "run scripts/make-sample-data after editing data/Tolvari.utf8.txt";
}

TEST(SampleSettings, AreTheProgramDefaultsLineForLine)
{
    const std::string ini = ReadFile(DataPath("Tolvari.ini"));
    EXPECT_EQ(ini,
              "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
              "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n");
    Settings read;  // all empty: every value must come from the file
    ApplySettingsText(read, ini);
    const Settings expected = DefaultSettings(0);
    EXPECT_EQ(read.m_strDataFile, expected.m_strDataFile);
    EXPECT_EQ(read.m_strFont1, expected.m_strFont1);
    EXPECT_EQ(read.m_strFace1, expected.m_strFace1);
    EXPECT_EQ(read.m_strSize1, expected.m_strSize1);
    EXPECT_EQ(read.m_strFont2, expected.m_strFont2);
    EXPECT_EQ(read.m_strFace2, expected.m_strFace2);
    EXPECT_EQ(read.m_strSize2, expected.m_strSize2);
}

}  // namespace
