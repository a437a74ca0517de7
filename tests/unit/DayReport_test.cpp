#include "calendar/DayReport.h"

#include <climits>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "records/Atoi.h"

namespace {

struct Row {
    std::string day, month, year, name;
};

RecordList List(const std::vector<Row>& rows)
{
    RecordList list;
    for (const Row& r : rows) {
        list.m_arrDay.Add(r.day);
        list.m_arrMonth.Add(r.month);
        list.m_arrYear.Add(r.year);
        list.m_arrName.Add(r.name);
    }
    list.m_nCount = static_cast<int>(rows.size());
    return list;
}

CurrentDate Date(int day, int month, int year, int dow)
{
    CurrentDate d;
    d.m_nDay = day;
    d.m_nMonth = month;
    d.m_nYear = year;
    d.m_nDOW = dow;
    return d;
}

struct Report {
    DayReportTexts texts;
    int last;
};

Report Build(const std::vector<Row>& rows, const CurrentDate& date, int language = 0)
{
    Report r;
    r.last = BuildDayReport(List(rows), date, language, r.texts);
    return r;
}

TEST(DayKeyTest, TwoDigitsBelowTen)
{
    const struct {
        int n;
        const char* key;
    } cases[] = {{1, "01"}, {9, "09"}, {10, "10"}, {31, "31"}, {0, "00"}, {-5, "0-5"}, {100, "100"},
                 {INT_MIN, "0-2147483648"}, {INT_MAX, "2147483647"}};
    for (const auto& c : cases)
        EXPECT_EQ(DayKey(c.n), c.key) << c.n;
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
        {Date(31, 12, -44, 1), 0, "Sunday, December  31, -44"},
        // sobota, červenec; neděle, září; úterý, únor
        {Date(1, 7, 2000, 7), 1, "sobota  1. \xE8" "ervenec  2000"},
        {Date(9, 9, 2001, 1), 1, "ned\xECle  9. z\xE1\xF8\xED  2001"},
        {Date(12, 2, 2002, 3), 1, "\xFAter\xFD  12. \xFAnor  2002"},
        {Date(5, 0, 2001, 2), 0, "Monday, ?  5, 2001"},
        {Date(5, 13, 2001, 2), 1, "pond\xECl\xED  5. ?  2001"},
        {Date(5, INT_MIN, 2001, 2), 0, "Monday, ?  5, 2001"},
        {Date(5, 3, 2001, 0), 0, "?, March  5, 2001"},
        {Date(5, 3, 2001, 8), 1, "?  5. b\xF8" "ezen  2001"},
        {Date(5, INT_MAX, 2001, INT_MIN), 0, "?, ?  5, 2001"},
        {Date(INT_MIN, 1, INT_MAX, 7), 0, "Saturday, January  -2147483648, 2147483647"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateLine(c.date, c.language), c.line);
}

TEST(DayReportTest, EmptyListGivesDateLineAndThreeEmptyLines)
{
    const Report r = Build({}, Date(5, 3, 2001, 2));
    EXPECT_EQ(r.texts.m_showDnes, "Monday, March  5, 2001");
    EXPECT_EQ(r.texts.m_showCalendar, "");
    EXPECT_EQ(r.texts.m_showHolidays, "");
    EXPECT_EQ(r.texts.m_showBirthdays, "");
    EXPECT_EQ(r.texts.m_showNextDays, "\r\n\r\n");
    EXPECT_EQ(r.last, -1);
}

TEST(DayReportTest, FieldsOfTheDisplayedDay)
{
    const Report r = Build({{"01", "01", "9999", "New Year"},
                            {"01", "01", "1950", "Grandpa"},
                            {"02", "01", "0000", "Other day"},
                            {"01", "01", "8888", "Wedding day"},
                            {"01", "01", "0000", "Cal A"},
                            {"01", "01", "0000", "Cal B"},
                            {"01", "01", "9999", "Second holiday"}},
                           Date(1, 1, 2001, 2));
    EXPECT_EQ(r.texts.m_showHolidays, "New Year\r\nSecond holiday");
    EXPECT_EQ(r.texts.m_showBirthdays, "Grandpa (51 let)\r\nWedding day");
    EXPECT_EQ(r.texts.m_showCalendar, "Cal ACal B");
    EXPECT_EQ(r.last, 6);
    EXPECT_EQ(r.texts.m_showNextDays, "\r\n\r\nOther day");
}

TEST(DayReportTest, NumberOfYears)
{
    const struct {
        const char* year;
        int displayedYear;
        const char* text;
    } cases[] = {
        {"1950", 2001, "N (51 let)"},
        {"2005", 2001, "N (-4 let)"},
        {"2001", 2001, "N (0 let)"},
        {"abc", 2001, "N (2001 let)"},
        {"", 2001, "N (2001 let)"},
        {" 1950", 2001, "N (51 let)"},
        {"1950x", 2001, "N (51 let)"},
        {"000", 2001, "N (2001 let)"},   // only "0000" is a calendar entry
        {"-10", 2001, "N (2011 let)"},
        {"2147483647", INT_MIN, "N (-2147483648 let)"},
        {"-5", INT_MAX, "N (2147483647 let)"},
        {"-99999999999", 2001, "N (2147483647 let)"},
        {"99999999999", -5, "N (-2147483648 let)"},
    };
    for (const auto& c : cases) {
        const Report r = Build({{"05", "03", c.year, "N"}}, Date(5, 3, c.displayedYear, 1));
        EXPECT_EQ(r.texts.m_showBirthdays, c.text) << c.year;
    }
}

TEST(DayReportTest, EmptyNamesLeaveNoLeadingSeparator)
{
    const Report r = Build({{"05", "03", "9999", ""},
                            {"05", "03", "9999", "H"},
                            {"06", "03", "9999", ""},
                            {"06", "03", "9999", "A"},
                            {"07", "03", "9999", "B"}},
                           Date(5, 3, 2001, 1));
    EXPECT_EQ(r.texts.m_showHolidays, "H");
    EXPECT_EQ(r.texts.m_showNextDays, "A, B\r\n\r\n");
}

TEST(DayReportTest, LookAheadOrderAndReach)
{
    const Report r = Build({{"12", "03", "0000", "day+7"},
                            {"05", "03", "9999", "today"},
                            {"13", "03", "9999", "day+8"},
                            {"07", "03", "1950", "Bday+2"},
                            {"06", "03", "0000", "day+1"},
                            {"06", "03", "8888", "Aday+1"},
                            {"07", "03", "0000", "day+2"},
                            {"06", "03", "9999", "Hday+1"},
                            {"6", "03", "9999", "one digit"},
                            {" 6", "03", "9999", "blank"},
                            {"06", "3", "9999", "one digit month"}},
                           Date(5, 3, 2001, 1));
    EXPECT_EQ(r.texts.m_showNextDays, "Hday+1\r\nAday+1, Bday+2\r\nday+1, day+2, day+7");
    EXPECT_EQ(r.texts.m_showHolidays, "today");
    EXPECT_EQ(r.last, 1);
}

TEST(DayReportTest, LookAheadAcrossYearEnd)
{
    const Report r = Build({{"01", "01", "9999", "New Year"},
                            {"02", "01", "0000", "Karina"},
                            {"31", "12", "1950", "Eve"},
                            {"07", "01", "0000", "too far"}},
                           Date(30, 12, 2001, 1));
    EXPECT_EQ(r.texts.m_showNextDays, "New Year\r\nEve\r\nKarina");
}

TEST(DayReportTest, YearsFollowTheDisplayedYear)
{
    CurrentDate d = Date(1, 1, 2002, 3);
    d.PrevDay();
    const Report r = Build({{"31", "12", "1950", "Eve"}}, d);
    EXPECT_EQ(r.texts.m_showBirthdays, "Eve (51 let)");
}

TEST(DayReportTest, LeapDayOnlyInYearsDivisibleByFour)
{
    const std::vector<Row> rows = {{"29", "02", "9999", "Leap"}};
    for (int year : {1900, 2100, 2004}) {
        EXPECT_EQ(Build(rows, Date(29, 2, year, 1)).texts.m_showHolidays, "Leap") << year;
        EXPECT_EQ(Build(rows, Date(28, 2, year, 1)).texts.m_showNextDays, "Leap\r\n\r\n") << year;
    }
    for (int year : {2001, 2003}) {
        EXPECT_EQ(Build(rows, Date(28, 2, year, 1)).texts.m_showNextDays, "\r\n\r\n") << year;
        EXPECT_EQ(Build(rows, Date(25, 2, year, 1)).texts.m_showNextDays, "\r\n\r\n") << year;
    }
}

TEST(DayReportTest, OddDatesMatchTheirOwnKeys)
{
    // Dates the editor can leave behind: day past the month's end, month 13.
    const Report r = Build({{"31", "02", "9999", "Feb 31"},
                            {"04", "03", "9999", "Mar 4"},
                            {"00", "05", "9999", "day 0"},
                            {"0-1", "05", "9999", "day -1"},
                            {"01", "13", "0000", "month 13"}},
                           Date(31, 2, 2001, 1));
    EXPECT_EQ(r.texts.m_showHolidays, "Feb 31");
    EXPECT_EQ(r.texts.m_showNextDays, "Mar 4\r\n\r\n");
    EXPECT_EQ(Build({{"0-1", "05", "9999", "day -1"}, {"00", "05", "9999", "day 0"}},
                    Date(-2, 5, 2001, 1))
                  .texts.m_showNextDays,
              "day -1, day 0\r\n\r\n");
    EXPECT_EQ(Build({{"01", "13", "0000", "month 13"}}, Date(30, 12, 2001, 1)).texts.m_showNextDays,
              "\r\n\r\n");
    EXPECT_EQ(Build({{"01", "14", "0000", "month 14"}}, Date(30, 13, 2001, 1)).texts.m_showNextDays,
              "\r\n\r\nmonth 14");
}

TEST(DayReportTest, NamesAreBytes)
{
    const std::string withNul("a\0b", 3);
    const Report r = Build({{"05", "03", "1950", withNul},
                            {"05", "03", "9999", "%s%n%d"},
                            {"06", "03", "0000", "\x8A\x9D" "astn\xE1"}},
                           Date(5, 3, 2001, 1));
    EXPECT_EQ(r.texts.m_showBirthdays, withNul + " (51 let)");
    EXPECT_EQ(r.texts.m_showHolidays, "%s%n%d");
    EXPECT_EQ(r.texts.m_showNextDays, "\r\n\r\n\x8A\x9D" "astn\xE1");
}

TEST(DayReportTest, OnlyTheFirstCountRecordsCount)
{
    RecordList list = List({{"05", "03", "9999", "A"}, {"05", "03", "9999", "B"}});
    list.m_nCount = 1;
    DayReportTexts t;
    EXPECT_EQ(BuildDayReport(list, Date(5, 3, 2001, 1), 0, t), 0);
    EXPECT_EQ(t.m_showHolidays, "A");
}

// The report described as eight passes over the list, one per day, written
// as plainly as possible to check the one-pass version against.
Report EightPasses(const RecordList& list, CurrentDate date, int language)
{
    Report r;
    r.last = -1;
    const CurrentDate saved = date;
    std::string lines[3];  // holiday, anniversary, calendar
    for (int pass = 0; pass < 7; ++pass) {
        date.NextDay();
        const std::string dk = DayKey(date.m_nDay), mk = DayKey(date.m_nMonth);
        for (int i = 0; i < list.m_nCount; ++i) {
            if (list.m_arrDay[i] != dk || list.m_arrMonth[i] != mk)
                continue;
            const std::string_view y = list.m_arrYear[i];
            std::string& line = lines[y == "9999" ? 0 : y == "0000" ? 2 : 1];
            if (line.empty())
                line = std::string(list.m_arrName[i]);
            else
                line += ", " + std::string(list.m_arrName[i]);
        }
    }
    r.texts.m_showNextDays = lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2];
    date = saved;
    const std::string dk = DayKey(date.m_nDay), mk = DayKey(date.m_nMonth);
    for (int i = 0; i < list.m_nCount; ++i) {
        if (list.m_arrDay[i] != dk || list.m_arrMonth[i] != mk)
            continue;
        const std::string_view y = list.m_arrYear[i];
        const std::string name(list.m_arrName[i]);
        auto add = [](std::string& field, const std::string& text) {
            field = field.empty() ? text : field + "\r\n" + text;
        };
        if (y == "0000") {
            r.texts.m_showCalendar += name;
        } else if (y == "9999") {
            add(r.texts.m_showHolidays, name);
        } else if (y == "8888") {
            add(r.texts.m_showBirthdays, name);
        } else {
            int64_t n = static_cast<int64_t>(date.m_nYear) - AtoiSaturating(y);
            n = n > INT_MAX ? INT_MAX : n < INT_MIN ? INT_MIN : n;
            add(r.texts.m_showBirthdays, name + " (" + std::to_string(n) + " let)");
        }
        r.last = i;
    }
    r.texts.m_showDnes = FormatDateLine(date, language);
    return r;
}

TEST(DayReportTest, SamePassAsEightPassesOnRandomLists)
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
        std::vector<Row> rows;
        const int n = static_cast<int>(rng() % 300);
        for (int i = 0; i < n; ++i) {
            rows.push_back({days[rng() % std::size(days)], months[rng() % std::size(months)],
                            years[rng() % std::size(years)], "n" + std::to_string(i)});
        }
        const RecordList list = List(rows);
        for (const CurrentDate& d : dates) {
            for (int language : {0, 1}) {
                const Report expected = EightPasses(list, d, language);
                Report got;
                got.last = BuildDayReport(list, d, language, got.texts);
                ASSERT_EQ(got.last, expected.last);
                ASSERT_EQ(got.texts.m_showDnes, expected.texts.m_showDnes);
                ASSERT_EQ(got.texts.m_showCalendar, expected.texts.m_showCalendar);
                ASSERT_EQ(got.texts.m_showHolidays, expected.texts.m_showHolidays);
                ASSERT_EQ(got.texts.m_showBirthdays, expected.texts.m_showBirthdays);
                ASSERT_EQ(got.texts.m_showNextDays, expected.texts.m_showNextDays);
            }
        }
    }
}

}  // namespace
