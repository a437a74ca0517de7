// Day stepping and the day report against hand-written expectations. The
// report on any list and date is fuzzed (tests/fuzz/dayreport_fuzz.cpp), and
// seen end to end on hand-written texts (tests/e2e/MainWindow_e2e.cpp).
#include "calendar/DayReport.h"

#include <gtest/gtest.h>

#include "Rows.h"

static CurrentDate Date(int day, int month, int year, int dow)
{
    CurrentDate d;
    d.m_nDay = day, d.m_nMonth = month, d.m_nYear = year, d.m_nDOW = dow;
    return d;
}

static std::string Text(const CurrentDate& d)
{
    return FormatDateLine(d, 0) + " (" + std::to_string(d.m_nDOW) + ")";
}

TEST(DayStepping, NextAndPrevDay)
{
    // clang-format off
    const std::pair<CurrentDate, CurrentDate> cases[] = {
        {Date(31, 12, 2001, 2), Date(1, 1, 2002, 3)}, {Date(28, 2, 2026, 7), Date(1, 3, 2026, 1)},
        {Date(28, 2, 2004, 7), Date(29, 2, 2004, 1)}, {Date(29, 2, 2004, 1), Date(1, 3, 2004, 2)},
        {Date(28, 2, 1900, 4), Date(29, 2, 1900, 5)},  // every fourth year, no century rule
        {Date(30, 4, 2001, 2), Date(1, 5, 2001, 3)},  {Date(31, 1, 2001, 4), Date(1, 2, 2001, 5)},
    };
    // clang-format on
    for (const auto& [from, next] : cases) {
        CurrentDate d = from;
        d.NextDay();
        EXPECT_EQ(Text(d), Text(next));
        d.PrevDay();
        EXPECT_EQ(Text(d), Text(from));
    }
}

// Each list as built in memory and as loaded from its saved file, where day
// and month of a usual line come packed from loading.
TEST(DayReport, FieldsByExample)
{
    // clang-format off
    const struct {
        const char* what;
        Rows rows;
        CurrentDate date;
        std::vector<std::string> report;  // date line, calendar, holidays, birthdays, next days, last
    } cases[] = {
        {"kinds of the day",
         {{"05", "03", "9999", "Holiday"}, {"05", "03", "1950", "Grandpa"}, {"05", "03", "2001", "Newborn"},
          {"05", "03", "0000", "Cal A"}, {"05", "03", "2005", "Not yet"}, {"05", "03", "8888", "Wedding"},
          {"05", "03", "0000", "Cal B"}, {"05", "03", "9999", "Second"}, {"06", "03", "0000", "Other"}},
         Date(5, 3, 2001, 2),
         {"Monday, March  5, 2001", "Cal ACal B", "Holiday\r\nSecond",
          "Grandpa (51 let)\r\nNewborn (0 let)\r\nNot yet (-4 let)\r\nWedding", "\r\n\r\nOther", "7"}},
        {"keys of two digits; bytes above 0x7F name no date",
         {{"5", "03", "9999", "a"}, {" 5", "03", "9999", "b"}, {"05", "3", "9999", "c"},
          {"\xB0\xB5", "03", "9999", "d"}, {"05", "\xB0\xB3", "9999", "e"}, {"\xB0\xB6", "\xB0\xB3", "9999", "f"}},
         Date(5, 3, 2001, 2), {"Monday, March  5, 2001", "", "", "", "\r\n\r\n", "-1"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        for (const RecordList& list : {ListOf(c.rows), Parse(FormatDataFile(ListOf(c.rows), 0))}) {
            DayReportTexts t;
            const int last = BuildDayReport(list, c.date, 0, t);
            EXPECT_EQ((std::vector<std::string>{t.m_showDnes, t.m_showCalendar, t.m_showHolidays, t.m_showBirthdays,
                                                t.m_showNextDays, std::to_string(last)}),
                      c.report)
                << c.what;
        }
    }
}
