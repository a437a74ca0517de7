#include "import/Entry.h"

#include <cstdio>

std::string BirthdayYear(int year)
{
    if (year <= 0 || year == 8888 || year >= 9999)
        return "8888";
    char text[8];
    std::snprintf(text, sizeof text, "%04d", year);
    return text;
}
