// The displayed day and the program's own day arithmetic.
#pragma once

#include <ctime>

// Length of a month by the program's calendar: every year divisible by 4 is
// a leap year (no century rule), and a month outside 1..12 has 30 days.
int MonthLength(int month, int year);

// The Gregorian weekday, 1 = Sunday .. 7 = Saturday, of the 1st of the month
// advanced by day - 1 days, so 29 February 2001 is the weekday of 1 March
// 2001. A month outside 1..12 counts on from (or back before) that year's
// January, so month 13 is January of the next year and month 0 December of
// the year before. Defined for every int input.
int WeekdayOf(int day, int month, int year);

// The displayed day. The weekday is not derived from the date: it is taken
// from the clock once and then stepped together with it.
struct CurrentDate {
    int m_nDay = 0;
    int m_nMonth = 0;
    int m_nYear = 0;
    int m_nDOW = 0;  // 1 = Sunday .. 7 = Saturday

    void SetDateFromClock(const std::tm& local);
    // One day on and one day back. Nothing is validated: a day beyond the
    // month's end is carried by subtraction, not reset. Every member stops
    // at the int limits instead of overflowing, so the year stays at INT_MAX
    // (INT_MIN) when stepping past its end (start).
    void NextDay();
    void PrevDay();
};
