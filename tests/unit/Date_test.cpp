#include "calendar/CurrentDate.h"

#include <climits>
#include <ctime>

#include <gtest/gtest.h>

namespace {

CurrentDate Date(int day, int month, int year, int dow)
{
    CurrentDate d;
    d.m_nDay = day;
    d.m_nMonth = month;
    d.m_nYear = year;
    d.m_nDOW = dow;
    return d;
}

::testing::AssertionResult Is(const CurrentDate& d, const CurrentDate& e)
{
    if (d == e)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << d.m_nDay << "." << d.m_nMonth << "." << d.m_nYear << " dow " << d.m_nDOW << ", expected "
           << e.m_nDay << "." << e.m_nMonth << "." << e.m_nYear << " dow " << e.m_nDOW;
}

struct StepCase {
    const char* what;
    CurrentDate from, to;
};

TEST(DayStepping, NextDay)
{
    const StepCase cases[] = {
        {"year end", Date(31, 12, 2001, 2), Date(1, 1, 2002, 3)},
        {"February of a common year", Date(28, 2, 2001, 4), Date(1, 3, 2001, 5)},
        {"February of a leap year", Date(28, 2, 2004, 7), Date(29, 2, 2004, 1)},
        {"1900 is a leap year here", Date(28, 2, 1900, 1), Date(29, 2, 1900, 2)},
        {"2100 is a leap year here", Date(28, 2, 2100, 1), Date(29, 2, 2100, 2)},
        {"29 February", Date(29, 2, 2004, 1), Date(1, 3, 2004, 2)},
        {"30-day month", Date(30, 4, 2001, 2), Date(1, 5, 2001, 3)},
        {"31-day month", Date(30, 1, 2001, 3), Date(31, 1, 2001, 4)},
        {"day past a 30-day month is carried", Date(31, 4, 2001, 3), Date(2, 5, 2001, 4)},
        {"31 February carries by subtraction", Date(31, 2, 2001, 3), Date(4, 3, 2001, 4)},
        {"Saturday to Sunday", Date(5, 5, 2001, 7), Date(6, 5, 2001, 1)},
        {"month 0 has 30 days", Date(30, 0, 2001, 1), Date(1, 1, 2001, 2)},
        {"month 13 has 30 days and stays unwrapped", Date(30, 13, 2001, 1), Date(1, 14, 2001, 2)},
        {"negative leap year", Date(28, 2, -4, 1), Date(29, 2, -4, 2)},
        {"weekday outside 1..7 just counts", Date(1, 1, 2001, 9), Date(2, 1, 2001, 10)},
        {"year saturates at INT_MAX", Date(31, 12, INT_MAX, 1), Date(1, 1, INT_MAX, 2)},
        {"largest day carries without overflow", Date(INT_MAX, 5, 2001, 1), Date(INT_MAX - 30, 6, 2001, 2)},
        {"month saturates", Date(30, INT_MAX, 2001, 1), Date(1, INT_MAX, 2001, 2)},
        {"weekday saturates", Date(1, 1, 2001, INT_MAX), Date(2, 1, 2001, INT_MAX)},
    };
    for (const StepCase& c : cases) {
        CurrentDate d = c.from;
        d.NextDay();
        EXPECT_TRUE(Is(d, c.to)) << c.what;
    }
}

TEST(DayStepping, PrevDay)
{
    const StepCase cases[] = {
        {"year start", Date(1, 1, 2001, 2), Date(31, 12, 2000, 1)},
        {"into a leap February", Date(1, 3, 2004, 2), Date(29, 2, 2004, 1)},
        {"into a common February", Date(1, 3, 2001, 5), Date(28, 2, 2001, 4)},
        {"into a 30-day month", Date(1, 5, 2001, 3), Date(30, 4, 2001, 2)},
        {"Sunday to Saturday", Date(6, 5, 2001, 1), Date(5, 5, 2001, 7)},
        {"31 February counts down", Date(31, 2, 2001, 4), Date(30, 2, 2001, 3)},
        {"month 13 steps back to December", Date(1, 13, 2001, 4), Date(31, 12, 2001, 3)},
        {"month 0 wraps to December of the year before", Date(1, 0, 2001, 4), Date(31, 12, 2000, 3)},
        {"day 0 counts down too", Date(0, 5, 2001, 4), Date(-1, 5, 2001, 3)},
        {"year saturates at INT_MIN", Date(1, 1, INT_MIN, 2), Date(31, 12, INT_MIN, 1)},
        {"day saturates", Date(INT_MIN, 5, 2001, 2), Date(INT_MIN, 5, 2001, 1)},
        {"month below INT_MIN wraps to December", Date(1, INT_MIN, 2001, 2), Date(31, 12, 2000, 1)},
        {"weekday saturates", Date(5, 1, 2001, INT_MIN), Date(4, 1, 2001, INT_MIN)},
    };
    for (const StepCase& c : cases) {
        CurrentDate d = c.from;
        d.PrevDay();
        EXPECT_TRUE(Is(d, c.to)) << c.what;
    }
}

TEST(DayStepping, FromTheClock)
{
    std::tm t = {};
    t.tm_mday = 5;
    t.tm_mon = 2;
    t.tm_year = 101;
    t.tm_wday = 0;
    CurrentDate d;
    d.SetDateFromClock(t);
    EXPECT_TRUE(Is(d, Date(5, 3, 2001, 1)));
    t.tm_wday = 6;
    t.tm_mon = 11;
    t.tm_year = INT_MAX;
    d.SetDateFromClock(t);
    EXPECT_TRUE(Is(d, Date(5, 12, INT_MAX, 7)));
}

TEST(MonthLengthTest, ProgramCalendar)
{
    const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MonthLength(m, 2001), common[m - 1]) << m;
        EXPECT_EQ(MonthLength(m, 2000), m == 2 ? 29 : common[m - 1]) << m;
    }
    for (int year : {1900, 2100, 0, -4, INT_MIN})
        EXPECT_EQ(MonthLength(2, year), 29) << year;
    for (int year : {2001, -1, -3, INT_MAX})
        EXPECT_EQ(MonthLength(2, year), 28) << year;
    for (int month : {0, 13, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(MonthLength(month, 2001), 30) << month;
}

TEST(WeekdayOfTest, KnownDates)
{
    const struct {
        int day, month, year, weekday;
    } cases[] = {
        {1, 1, 2001, 2},    {5, 3, 2001, 2},   {1, 1, 2000, 7},  {6, 12, 2026, 1},
        {1, 1, 1970, 5},    {1, 1, 1, 2},      {29, 2, 2004, 1}, {1, 3, 1900, 5},
        {29, 2, 2001, 5},   // counted on from 1 February: 1 March 2001
        {29, 2, 1900, 5},   // no 29 February 1900 in the Gregorian calendar
        {1, 13, 2001, 3},   // month 13: January 2002
        {1, 0, 2001, 6},    // month 0: December 2000
        {1, -11, 2001, 7},  // month -11: January 2000
        {0, 1, 2001, 1},    // the day before 1 January 2001
        {-6, 1, 2001, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeekdayOf(c.day, c.month, c.year), c.weekday)
            << c.day << "." << c.month << "." << c.year;
}

TEST(WeekdayOfTest, StaysInRangeAndStepsForAnyInput)
{
    const int values[] = {INT_MIN, INT_MIN + 1, -400, -1, 0, 1, 12, 13, 400, INT_MAX - 1, INT_MAX};
    for (int day : values) {
        for (int month : values) {
            for (int year : values) {
                const int w = WeekdayOf(day, month, year);
                ASSERT_GE(w, 1);
                ASSERT_LE(w, 7);
                if (day != INT_MAX) {
                    ASSERT_EQ(WeekdayOf(day + 1, month, year), w % 7 + 1);
                }
            }
        }
    }
}

}  // namespace
