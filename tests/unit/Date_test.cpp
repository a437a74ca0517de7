#include "calendar/CurrentDate.h"

#include <climits>
#include <ctime>

#include <gtest/gtest.h>

namespace {

CurrentDate Date(int day, int month, int year, int dow)
{
    CurrentDate d;
    d.m_nDay = day, d.m_nMonth = month, d.m_nYear = year, d.m_nDOW = dow;
    return d;
}

::testing::AssertionResult Is(const CurrentDate& d, const CurrentDate& e)
{
    if (d == e)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << d.m_nDay << "." << d.m_nMonth << "." << d.m_nYear << " dow "
                                         << d.m_nDOW;
}

TEST(DayStepping, NextAndPrevDay)
{
    const struct {
        const char* what;
        bool forward;
        CurrentDate from, to;
    } cases[] = {
        {"year end", true, Date(31, 12, 2001, 2), Date(1, 1, 2002, 3)},
        {"February of a common year", true, Date(28, 2, 2001, 4), Date(1, 3, 2001, 5)},
        {"1900 is a leap year here", true, Date(28, 2, 1900, 1), Date(29, 2, 1900, 2)},
        {"29 February", true, Date(29, 2, 2004, 1), Date(1, 3, 2004, 2)},
        {"30-day month", true, Date(30, 4, 2001, 2), Date(1, 5, 2001, 3)},
        {"day past a 30-day month is carried", true, Date(31, 4, 2001, 3), Date(2, 5, 2001, 4)},
        {"31 February carries by subtraction", true, Date(31, 2, 2001, 3), Date(4, 3, 2001, 4)},
        {"Saturday to Sunday", true, Date(5, 5, 2001, 7), Date(6, 5, 2001, 1)},
        {"month 13 has 30 days and stays unwrapped", true, Date(30, 13, 2001, 1), Date(1, 14, 2001, 2)},
        {"year saturates at INT_MAX", true, Date(31, 12, INT_MAX, 1), Date(1, 1, INT_MAX, 2)},
        {"largest day carries without overflow", true, Date(INT_MAX, 5, 2001, 1), Date(INT_MAX - 30, 6, 2001, 2)},
        {"month and weekday saturate", true, Date(30, INT_MAX, 2001, INT_MAX), Date(1, INT_MAX, 2001, INT_MAX)},
        {"year start", false, Date(1, 1, 2001, 2), Date(31, 12, 2000, 1)},
        {"into a leap February", false, Date(1, 3, 2004, 2), Date(29, 2, 2004, 1)},
        {"into a common February", false, Date(1, 3, 2001, 5), Date(28, 2, 2001, 4)},
        {"Sunday to Saturday", false, Date(6, 5, 2001, 1), Date(5, 5, 2001, 7)},
        {"31 February counts down", false, Date(31, 2, 2001, 4), Date(30, 2, 2001, 3)},
        {"month 13 steps back to December", false, Date(1, 13, 2001, 4), Date(31, 12, 2001, 3)},
        {"month 0 wraps to December before", false, Date(1, 0, 2001, 4), Date(31, 12, 2000, 3)},
        {"day 0 counts down too", false, Date(0, 5, 2001, 4), Date(-1, 5, 2001, 3)},
        {"year saturates at INT_MIN", false, Date(1, 1, INT_MIN, 2), Date(31, 12, INT_MIN, 1)},
        {"day and weekday saturate", false, Date(INT_MIN, 5, 2001, INT_MIN), Date(INT_MIN, 5, 2001, INT_MIN)},
        {"month below INT_MIN wraps", false, Date(1, INT_MIN, 2001, 2), Date(31, 12, 2000, 1)},
    };
    for (const auto& c : cases) {
        CurrentDate d = c.from;
        c.forward ? d.NextDay() : d.PrevDay();
        EXPECT_TRUE(Is(d, c.to)) << c.what;
    }
}

TEST(DayStepping, FromTheClock)
{
    std::tm t = {};
    t.tm_mday = 5, t.tm_mon = 11, t.tm_year = INT_MAX, t.tm_wday = 6;
    CurrentDate d;
    d.SetDateFromClock(t);
    EXPECT_TRUE(Is(d, Date(5, 12, INT_MAX, 7)));
}

TEST(MonthLengthTest, EveryFourthYearLeapOthersOutOfRangeThirty)
{
    // The weekday of the next month's first day gives the length of a month.
    for (int year : {2001, 2004}) {
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ((WeekdayOf(1, m + 1, year) - WeekdayOf(1, m, year) + 7 - MonthLength(m, year)) % 7, 0)
                << m << "." << year;
    }
    for (int year : {1900, 2100, -4, INT_MIN})
        EXPECT_EQ(MonthLength(2, year), 29) << year;
    for (int year : {-1, INT_MAX})
        EXPECT_EQ(MonthLength(2, year), 28) << year;
    for (int month : {0, 13, INT_MIN})
        EXPECT_EQ(MonthLength(month, 2001), 30) << month;
}

TEST(WeekdayOfTest, KnownDatesAndAnyInput)
{
    const struct {
        int day, month, year, weekday;
    } cases[] = {
        {5, 3, 2001, 2},    {1, 1, 2000, 7}, {6, 12, 2026, 1}, {1, 1, 1, 2},
        {29, 2, 2001, 5},   // counted on from 1 February: 1 March 2001
        {29, 2, 1900, 5},   // no 29 February 1900 in the Gregorian calendar
        {1, 13, 2001, 3},   // month 13: January 2002
        {1, -11, 2001, 7},  // month -11: January 2000
        {-6, 1, 2001, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WeekdayOf(c.day, c.month, c.year), c.weekday) << c.day << "." << c.month << "." << c.year;
    const int values[] = {INT_MIN, -400, -1, 0, 1, 12, 13, INT_MAX - 1, INT_MAX};
    for (int day : values) {
        for (int month : values) {
            for (int year : values) {
                const int w = WeekdayOf(day, month, year);
                ASSERT_TRUE(w >= 1 && w <= 7);
                if (day != INT_MAX) {
                    ASSERT_EQ(WeekdayOf(day + 1, month, year), w % 7 + 1);
                }
            }
        }
    }
}

}  // namespace
