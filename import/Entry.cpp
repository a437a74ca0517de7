#include "import/Entry.h"

#include <cstdio>

std::string BirthdayYear(const Date& date, const Date& today)
{
    const int year = date.year;
    if (year <= 0 || year == 8888 || year >= 9999 || today.year - year > 120 ||
        DaysOf(year, date.month, date.day) > DaysOf(today.year, today.month, today.day))
        return "8888";
    char text[8];
    std::snprintf(text, sizeof text, "%04d", year);
    return text;
}
