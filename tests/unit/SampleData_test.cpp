// The sample files shipped in data/ and in the release: the default settings
// and a data file laid out exactly as the program saves it, with the Czech
// name-day calendar for every day of the year, the public holidays and a few
// birthdays and anniversaries.
#include <algorithm>
#include <ctime>
#include <iconv.h>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
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

// Code page 1250 bytes as UTF-8; false at a byte the code page leaves undefined.
bool Cp1250ToUtf8(std::string bytes, std::string& out)
{
    out.assign(bytes.size() * 3, '\0');
    char *in = &bytes[0], *to = &out[0];
    size_t inLeft = bytes.size(), outLeft = out.size();
    const iconv_t cd = ::iconv_open("UTF-8", "CP1250");
    const bool ok = cd != reinterpret_cast<iconv_t>(-1) && ::iconv(cd, &in, &inLeft, &to, &outLeft) == 0;
    if (cd != reinterpret_cast<iconv_t>(-1))
        ::iconv_close(cd);
    out.resize(out.size() - outLeft);
    return ok;
}

class SampleData : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes = ReadBytes(DataPath("Tolvari.dat"));
        ASSERT_TRUE(LoadDataFile(DataPath("Tolvari.dat"), list)) << DataPath("Tolvari.dat");
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

    std::string bytes;
    RecordList list;
};

TEST_F(SampleData, SavingTheLoadedFileGivesTheSameBytes)
{
    EXPECT_EQ(FormatDataFile(list, 0), bytes);
}

// A list shifted by a day shows at these names.
TEST_F(SampleData, AnchorNamesAndPublicHolidays)
{
    const struct {
        int day, month;
        const char* year;
        const char* name;
    } anchors[] = {
        {1, 1, "0000", "Nov\xFD rok"},  {29, 2, "0000", "Horym\xEDr"},  {1, 3, "0000", "Bed\xF8ich"},
        {30, 6, "0000", "\x8A\xE1rka"}, {24, 12, "0000", "Adam a Eva"}, {31, 12, "0000", "Silvestr"},
        // Short enough for the one-line calendar field; the full name is the holiday's.
        {28, 10, "0000", "St\xE1tn\xED sv\xE1tek"},
        {1, 1, "9999", "Den obnovy samostatn\xE9ho \xE8" "esk\xE9ho st\xE1tu"},
        {1, 5, "9999", "Sv\xE1tek pr\xE1" "ce"}, {8, 5, "9999", "Den v\xEDt\xECzstv\xED"},
        {5, 7, "9999", "Den slovansk\xFD" "ch v\xECrozv\xECst\xF9 Cyrila a Metod\xECje"},
        {6, 7, "9999", "Den up\xE1len\xED mistra Jana Husa"},
        {28, 9, "9999", "Den \xE8" "esk\xE9 st\xE1tnosti"},
        {28, 10, "9999", "Den vzniku samostatn\xE9ho \xE8" "eskoslovensk\xE9ho st\xE1tu"},
        {17, 11, "9999", "Den boje za svobodu a demokracii a Mezin\xE1rodn\xED den studentstva"},
        {24, 12, "9999", "\x8At\xEC" "dr\xFD den"}, {25, 12, "9999", "1. sv\xE1tek v\xE1no\xE8n\xED"},
        {26, 12, "9999", "2. sv\xE1tek v\xE1no\xE8n\xED"},
    };
    int holidays = 0, listed = 0;
    for (const auto& a : anchors) {
        const auto on = On(a.day, a.month);
        EXPECT_TRUE(std::find(on.begin(), on.end(), std::make_pair(std::string(a.year), std::string(a.name))) !=
                    on.end())
            << a.day << "." << a.month;
        holidays += std::string(a.year) == "9999";
    }
    for (int i = 0; i < list.m_nCount; ++i)
        listed += list.m_arrYear[i] == "9999";
    EXPECT_EQ(listed, holidays);
}

TEST_F(SampleData, BirthdaysShowEveryKindOfYear)
{
    std::time_t now = std::time(nullptr);
    const int thisYear = std::localtime(&now)->tm_year + 1900;
    bool noAge = false, leapDay = false, future = false, december = false;
    for (int i = 366; i < list.m_nCount; ++i) {
        const std::string year(list.m_arrYear[i]);
        const bool dated = year != "8888" && year != "9999";
        noAge |= year == "8888";
        leapDay |= dated && list.m_arrDay[i] == "29" && list.m_arrMonth[i] == "02";
        future |= dated && std::stoi(year) > thisYear;
        december |= year != "9999" && list.m_arrMonth[i] == "12";
    }
    EXPECT_TRUE(noAge && leapDay && future && december)
        << noAge << leapDay << future << december << ": a no-age birthday, a dated one on 29 February,"
        << " one whose year is still ahead, one in December";
}

// One calendar entry a day in day order, then the custom section; every
// record on a day the report can show, its name trimmed.
TEST_F(SampleData, CalendarFirstInDayOrderAndEveryRecordOnAShownDay)
{
    ASSERT_GE(list.m_nCount, 366);
    for (int i = 0, nextDay = 1, nextMonth = 1; i < list.m_nCount; ++i) {
        const int month = std::stoi(std::string(list.m_arrMonth[i]));
        const int day = std::stoi(std::string(list.m_arrDay[i]));
        EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(month, 2024)) << i;
        const std::string name(list.m_arrName[i]);
        EXPECT_TRUE(!name.empty() && name.front() != ' ' && name.back() != ' ') << "record " << i;
        const std::string key = std::string(list.m_arrDay[i]) + "." + std::string(list.m_arrMonth[i]);
        EXPECT_EQ(key, DayKey(day) + "." + DayKey(month)) << i;
        if (i >= 366) {
            EXPECT_NE(list.m_arrYear[i], "0000") << i;
            continue;
        }
        EXPECT_EQ(key + " " + std::string(list.m_arrYear[i]), DayKey(nextDay) + "." + DayKey(nextMonth) + " 0000");
        if (++nextDay > MonthLength(nextMonth, 2024))
            nextDay = 1, ++nextMonth;
    }
}

// The readable UTF-8 list is what gets edited; the data file must follow it,
// in code page 1250 with CR LF line ends and no other control bytes.
TEST_F(SampleData, MatchesItsReadableSourceList)
{
    std::string utf8;
    ASSERT_TRUE(Cp1250ToUtf8(bytes, utf8)) << "byte outside code page 1250";
    ASSERT_EQ(utf8.substr(utf8.size() - 2), "\r\n");
    std::string lf;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.compare(i, 2, "\r\n") == 0)
            lf += '\n', ++i;
        else if (static_cast<unsigned char>(utf8[i]) < 0x20)
            ADD_FAILURE() << "control byte at " << i;
        else
            lf += utf8[i];
    }
    EXPECT_EQ(lf, ReadBytes(DataPath("Tolvari.utf8.txt")))
        << "run scripts/make-sample-data after editing data/Tolvari.utf8.txt";
}

TEST(SampleSettings, AreTheProgramDefaultsLineForLine)
{
    EXPECT_EQ(ReadBytes(DataPath("Tolvari.ini")),
              "FILE=Tolvari.dat\r\nFONT1=Helvetica\r\nFACE1=ITALIC_BOLD\r\nSIZE1=18\r\n"
              "FONT2=Helvetica\r\nFACE2=NORMAL\r\nSIZE2=16\r\n");
}

}  // namespace
