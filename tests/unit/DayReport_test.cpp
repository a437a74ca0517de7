#include "calendar/DayReport.h"

#include <climits>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordRows.h"

#include "records/Atoi.h"
#include "records/DataFile.h"

namespace {

CurrentDate Date(int day, int month, int year, int dow = 1)
{
    CurrentDate d;
    d.m_nDay = day, d.m_nMonth = month, d.m_nYear = year, d.m_nDOW = dow;
    return d;
}

// The five texts and the last record of the day, in one comparable vector.
std::vector<std::string> Report(const RecordList& list, const CurrentDate& date, int language = 0)
{
    DayReportTexts t;
    const int last = BuildDayReport(list, date, language, t);
    return {t.m_showDnes, t.m_showCalendar, t.m_showHolidays, t.m_showBirthdays, t.m_showNextDays,
            std::to_string(last)};
}

TEST(DayKeyTest, TwoDigitsBelowTen)
{
    const std::pair<int, const char*> cases[] = {{9, "09"}, {10, "10"}, {0, "00"}, {-5, "0-5"},
                                                 {INT_MIN, "0-2147483648"}};
    for (auto [n, key] : cases)
        EXPECT_EQ(DayKey(n), key) << n;
}

TEST(DateLineTest, ExamplesAndOutOfRangeEntries)
{
    const struct {
        CurrentDate date;
        int language;
        std::string line;
    } cases[] = {
        {Date(5, 3, 2001, 2), 0, "Monday, March  5, 2001"},
        {Date(5, 3, 2001, 2), 1, "pond\xECl\xED  5. b\xF8" "ezen  2001"},
        // sobota, červenec; neděle, září; úterý, únor
        {Date(1, 7, 2000, 7), 1, "sobota  1. \xE8" "ervenec  2000"},
        {Date(9, 9, 2001, 1), 1, "ned\xECle  9. z\xE1\xF8\xED  2001"},
        {Date(12, 2, 2002, 3), 1, "\xFAter\xFD  12. \xFAnor  2002"},
        {Date(5, 0, 2001, 2), 0, "Monday, ?  5, 2001"},
        {Date(5, 13, 2001, 2), 1, "pond\xECl\xED  5. ?  2001"},
        {Date(5, 3, 2001, 0), 0, "?, March  5, 2001"},
        {Date(5, 3, 2001, 8), 1, "?  5. b\xF8" "ezen  2001"},
        {Date(INT_MIN, 1, INT_MAX, 7), 0, "Saturday, January  -2147483648, 2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateLine(c.date, c.language), c.line);
}

TEST(DayReportTest, FieldsByExample)
{
    const std::string nul("a\0b", 3);
    const struct {
        const char* what;
        Rows rows;
        CurrentDate date;
        std::vector<std::string> report;  // date line, calendar, holidays, birthdays, next days, last
    } cases[] = {
        {"empty list", {}, Date(5, 3, 2001, 2), {"Monday, March  5, 2001", "", "", "", "\r\n\r\n", "-1"}},
        {"kinds of the day",
         {{"01", "01", "9999", "New Year"}, {"01", "01", "1950", "Grandpa"}, {"02", "01", "0000", "Other"},
          {"01", "01", "8888", "Wedding"}, {"01", "01", "0000", "Cal A"}, {"01", "01", "0000", "Cal B"},
          {"01", "01", "9999", "Second"}},
         Date(1, 1, 2001, 2),
         {"Monday, January  1, 2001", "Cal ACal B", "New Year\r\nSecond", "Grandpa (51 let)\r\nWedding",
          "\r\n\r\nOther", "6"}},
        {"look-ahead order and reach; keys need two digits",
         {{"12", "03", "0000", "day+7"}, {"05", "03", "9999", "today"}, {"13", "03", "9999", "day+8"},
          {"07", "03", "1950", "Bday+2"}, {"06", "03", "0000", "day+1"}, {"06", "03", "8888", "Aday+1"},
          {"07", "03", "0000", "day+2"}, {"06", "03", "9999", "Hday+1"}, {"6", "03", "9999", "one digit"},
          {" 6", "03", "9999", "blank"}, {"06", "3", "9999", "one digit month"}},
         Date(5, 3, 2001),
         {"Sunday, March  5, 2001", "", "today", "", "Hday+1\r\nAday+1, Bday+2\r\nday+1, day+2, day+7", "1"}},
        {"empty names leave no separator",
         {{"05", "03", "9999", ""}, {"05", "03", "9999", "H"}, {"06", "03", "9999", ""},
          {"06", "03", "9999", "A"}, {"07", "03", "9999", "B"}},
         Date(5, 3, 2001), {"Sunday, March  5, 2001", "", "H", "", "A, B\r\n\r\n", "1"}},
        {"across the year end",
         {{"01", "01", "9999", "New Year"}, {"02", "01", "0000", "Karina"}, {"31", "12", "1950", "Eve"},
          {"07", "01", "0000", "too far"}},
         Date(30, 12, 2001), {"Sunday, December  30, 2001", "", "", "", "New Year\r\nEve\r\nKarina", "-1"}},
        {"names are bytes",
         {{"05", "03", "1950", nul}, {"05", "03", "9999", "%s%n%d"}, {"06", "03", "0000", "\x8A\x9D" "astn\xE1"}},
         Date(5, 3, 2001),
         {"Sunday, March  5, 2001", "", "%s%n%d", nul + " (51 let)", "\r\n\r\n\x8A\x9D" "astn\xE1", "1"}},
        {"day past the month's end matches its own key",
         {{"31", "02", "9999", "Feb 31"}, {"04", "03", "9999", "Mar 4"}, {"01", "13", "0000", "month 13"}},
         Date(31, 2, 2001), {"Sunday, February  31, 2001", "", "Feb 31", "", "Mar 4\r\n\r\n", "0"}},
        {"negative days", {{"0-1", "05", "9999", "day -1"}, {"00", "05", "9999", "day 0"}}, Date(-2, 5, 2001),
         {"Sunday, May  -2, 2001", "", "", "", "day -1, day 0\r\n\r\n", "-1"}},
        {"month 13 follows only month 13", {{"01", "14", "0000", "m14"}}, Date(30, 13, 2001),
         {"Sunday, ?  30, 2001", "", "", "", "\r\n\r\nm14", "-1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Report(ListOf(c.rows), c.date), c.report) << c.what;
    // Only the first m_nCount records count.
    RecordList two = ListOf({{"05", "03", "9999", "A"}, {"05", "03", "9999", "B"}});
    two.m_nCount = 1;
    EXPECT_EQ(Report(two, Date(5, 3, 2001))[2], "A");
}

TEST(DayReportTest, NumberOfYears)
{
    const struct {
        const char* year;
        int displayedYear;
        const char* text;
    } cases[] = {
        {"2005", 2001, "N (-4 let)"},
        {"abc", 2001, "N (2001 let)"},
        {" 1950x", 2001, "N (51 let)"},
        {"000", 2001, "N (2001 let)"},  // only "0000" is a calendar entry
        {"2147483647", INT_MIN, "N (-2147483648 let)"},
        {"-5", INT_MAX, "N (2147483647 let)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Report(ListOf({{"05", "03", c.year, "N"}}), Date(5, 3, c.displayedYear))[3], c.text) << c.year;
}

TEST(DayReportTest, LeapDayOnlyInYearsDivisibleByFour)
{
    const RecordList leap = ListOf({{"29", "02", "9999", "Leap"}});
    EXPECT_EQ(Report(leap, Date(29, 2, 1900))[2], "Leap");
    EXPECT_EQ(Report(leap, Date(28, 2, 2100))[4], "Leap\r\n\r\n");
    EXPECT_EQ(Report(leap, Date(28, 2, 2001))[4], "\r\n\r\n");
}

// The report as one pass per day, written plainly to check the one-pass
// version against.
std::vector<std::string> EightPasses(const RecordList& list, CurrentDate date, int language)
{
    auto matches = [&](int i, const CurrentDate& d) {
        return list.m_arrDay[i] == DayKey(d.m_nDay) && list.m_arrMonth[i] == DayKey(d.m_nMonth);
    };
    std::string ahead[3];  // holiday, anniversary, calendar
    CurrentDate next = date;
    for (int pass = 0; pass < 7; ++pass) {
        next.NextDay();
        for (int i = 0; i < list.m_nCount; ++i) {
            const std::string_view y = list.m_arrYear[i];
            std::string& line = ahead[y == "9999" ? 0 : y == "0000" ? 2 : 1];
            if (matches(i, next))
                line += (line.empty() ? "" : ", ") + std::string(list.m_arrName[i]);
        }
    }
    std::string calendar, holidays, birthdays;
    int last = -1;
    for (int i = 0; i < list.m_nCount; ++i) {
        if (!matches(i, date))
            continue;
        const std::string_view y = list.m_arrYear[i];
        std::string name(list.m_arrName[i]);
        if (y != "0000" && y != "9999" && y != "8888") {
            const int64_t n = static_cast<int64_t>(date.m_nYear) - AtoiSaturating(y);
            name += " (" + std::to_string(n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : n) + " let)";
        }
        std::string& field = y == "0000" ? calendar : y == "9999" ? holidays : birthdays;
        field += (field.empty() || &field == &calendar ? "" : "\r\n") + name;
        last = i;
    }
    return {FormatDateLine(date, language), calendar, holidays, birthdays,
            ahead[0] + "\r\n" + ahead[1] + "\r\n" + ahead[2], std::to_string(last)};
}

TEST(DayReportTest, SameAsEightPassesOnRandomListsBuiltOrLoaded)
{
    std::mt19937 rng(12345);
    const char* const years[] = {"0000", "9999", "8888", "1950", "2010", "", "0", "abc"};
    const char* const days[] = {"01", "02", "05", "06", "07", "08", "09", "10", "11", "12",
                                "28", "29", "30", "31", "00", "1", "001", "0-1", "32", ""};
    const char* const months[] = {"01", "02", "03", "12", "13", "00", "1", ""};
    const CurrentDate dates[] = {Date(5, 3, 2001, 2),  Date(28, 2, 2004, 1), Date(26, 12, 2001, 4),
                                 Date(31, 2, 2001, 3), Date(30, 13, 2001, 1), Date(-3, 1, 2001, 1),
                                 Date(25, 0, 2000, 9), Date(1, 1, 2001, 2)};
    for (int round = 0; round < 40; ++round) {
        Rows rows;
        for (int i = 0, n = static_cast<int>(rng() % 300); i < n; ++i) {
            rows.push_back({days[rng() % std::size(days)], months[rng() % std::size(months)],
                            years[rng() % std::size(years)], "n" + std::to_string(i)});
        }
        const RecordList list = ListOf(rows);
        // The same rows loaded from their file: there the report reads day
        // and month straight from the lines.
        RecordList loaded;
        loaded.m_nCount = AppendRecords(loaded, std::make_shared<const std::string>(FormatDataFile(list, 0)));
        for (const CurrentDate& d : dates) {
            for (int language : {0, 1}) {
                const std::vector<std::string> expected = EightPasses(list, d, language);
                ASSERT_EQ(Report(list, d, language), expected);
                ASSERT_EQ(Report(loaded, d, language), expected);
            }
        }
    }
}

}  // namespace
