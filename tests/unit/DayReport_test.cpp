// Day stepping and the dates of Easter and its holidays against published
// tables. The report on any list and date is fuzzed against a plain
// reference (tests/fuzz/dayreport_fuzz.cpp), and seen end to end on
// hand-written texts (tests/e2e/MainWindow_e2e.cpp).
#include "calendar/DayReport.h"

#include <gtest/gtest.h>

#include "calendar/Easter.h"
#include "calendar/MovableHolidays.h"

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

// Easter Sunday from published tables, the earliest and latest dates among
// them: Meeus, Astronomical Algorithms (1818, 1954); GM Arts' Easter date
// lists, dates.gmarts.org (1589, 1603, 1844, 3249, 4099); the worked examples
// of the Astronomical Society of South Australia's Easter Dating Method
// (1994, 2870); python-dateutil's table of 1990-2050 (2000, 2027). The holidays
// that move with it on the dates their countries publish.
TEST(Computus, EasterAndItsHolidaysAgainstPublishedTables)
{
    const std::vector<std::pair<int, int>> tables[] = {
        // year, month * 100 + day: Western, then Orthodox
        {{1818, 322}, {1844, 407}, {1954, 418}, {2000, 423}, {2027, 328}, {3249, 425}, {4099, 419}},
        {{1589, 409}, {1603, 504}, {1994, 501}, {2000, 430}, {2027, 502}, {2870, 420}},
    };
    for (Computus method : {Computus::Western, Computus::Orthodox}) {
        for (const auto& [year, date] : tables[static_cast<int>(method)]) {
            int day = 0, month = 0;
            EXPECT_TRUE(DateAfterMarch1(EasterAfterMarch1(year, method), day, month));
            EXPECT_EQ(month * 100 + day, date) << year;
        }
        EXPECT_EQ(EasterAfterMarch1(1582, method), -1);  // before the Gregorian rules
    }
    // The holidays of each country in 2026 against its published calendar:
    // Western Easter on 5 April, the Orthodox one on 12 April.
    // clang-format off
    const std::pair<const char*, std::vector<int>> countries[] = {  // month * 100 + day of each holiday
        {"CZ", {403, 406}}, {"SK", {403, 406}}, {"PL", {405, 406, 524, 604}}, {"HU", {403, 405, 406, 524, 525}},
        {"SI", {405, 406, 524}}, {"HR", {405, 406, 604}}, {"RO", {410, 412, 413, 531, 601}},
        {"AT", {406, 514, 525, 604}}, {"DE", {403, 406, 514, 525}},
    };
    // clang-format on
    for (const auto& [code, dates] : countries) {
        std::vector<int> found;
        for (CurrentDate d = Date(1, 1, 2026, 5); d.m_nYear == 2026; d.NextDay()) {
            std::vector<const char*> names;
            MovableHolidaysOn(*FindHolidayCountry(code), d.m_nDay, d.m_nMonth, 2026, names);
            found.insert(found.end(), names.size(), d.m_nMonth * 100 + d.m_nDay);
        }
        EXPECT_EQ(found, dates) << code;
    }
}

// The country a calendar file's moving feasts belong to, as Thunderbird's
// holiday calendars title them: by name at the same distance from Easter.
TEST(MovableHolidays, CountryOfTheFeastsACalendarLists)
{
    const Computus w = Computus::Western;
    const struct {
        std::vector<ListedFeast> feasts;
        std::vector<std::string> countries;
    } cases[] = {
        // Nagypéntek, Húsvét hétfő, Pünkösd
        {{{-2, w, "Nagyp\xE9ntek"}, {1, w, "H\xFAsv\xE9t h\xE9tf\xF5"}, {49, w, "P\xFCnk\xF6sd"}}, {"HU"}},
        // Velký pátek and Veľký piatok at the same distances: the names tell
        {{{-2, w, "Velk\xFD p\xE1tek"}, {1, w, "Velikono\xE8n\xED pond\xECl\xED"}}, {"CZ"}},
        {{{-2, w, "Ve\xBEk\xFD piatok"}, {1, w, "Ve\xBEkono\xE8n\xFD pondelok"}}, {"SK"}},
        {{{0, Computus::Orthodox, "Pa\xBAtele"}, {49, Computus::Orthodox, "Rusaliile"}}, {"RO"}},
        {{{1, w, "Ostermontag"}, {39, w, "Christi Himmelfahrt"}, {50, w, "Pfingstmontag"}}, {"AT", "DE"}},
        {{{1, w, "Easter Monday"}, {49, w, "Pinksteren"}}, {}},  // another country's
    };
    for (const auto& c : cases)
        EXPECT_EQ(CountriesOfFeasts(c.feasts), c.countries) << c.feasts[0].name;
}
