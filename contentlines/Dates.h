// Date and date-time values as vCard and iCalendar write them, and the day
// arithmetic of the Gregorian calendar they need.
#pragma once

#include <string_view>

// A calendar date of the forms exporters write: 19500305, 1950-03-05, either
// with a time after "T", or without the year: --0305, --03-05. Year 0 means
// no year; 29 February is valid in any year.
struct Date {
    int day = 0, month = 0, year = 0;
};
bool ParseDate(std::string_view value, Date& date);

// Days since 1 January 1970 of a date of the Gregorian calendar, and back.
long long DaysOf(int year, int month, int day);
Date DateOfDays(long long days);

// The weekday of a day count: 0 Sunday to 6 Saturday.
int WeekdayOf(long long days);

// Division rounded towards minus infinity (times before 1970 too).
long long FloorDiv(long long a, long long b);

// A DTSTART-like value: a date with its year, or a date and time of day.
struct Moment {
    Date date;
    int seconds = -1;  // -1: a date alone
    bool utc = false;
    long long Wall() const { return DaysOf(date.year, date.month, date.day) * 86400 + (seconds < 0 ? 0 : seconds); }
};
bool ParseMoment(std::string_view value, Moment& moment);
