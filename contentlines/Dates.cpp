#include "contentlines/Dates.h"

#include <string>

namespace {

// The number of n digits at text[pos], or -1.
int Digits(std::string_view text, size_t pos, size_t n)
{
    if (pos + n > text.size())
        return -1;
    int value = 0;
    for (size_t i = pos; i < pos + n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

bool ParseDate(std::string_view value, Date& date)
{
    value = value.substr(0, value.find_first_of("Tt"));
    const bool noYear = value.substr(0, 2) == "--";
    std::string text(value.substr(noYear ? 2 : 0));
    // The extended forms, "MM-DD" and "YYYY-MM-DD", to the basic ones.
    if (noYear && text.size() == 5 && text[2] == '-')
        text.erase(2, 1);
    if (!noYear && text.size() == 10 && text[4] == '-' && text[7] == '-')
        text.erase(7, 1).erase(4, 1);
    const size_t yearDigits = noYear ? 0 : 4;
    if (text.size() != yearDigits + 4)
        return false;
    date.year = noYear ? 0 : Digits(text, 0, 4);
    date.month = Digits(text, yearDigits, 2);
    date.day = Digits(text, yearDigits + 2, 2);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return date.year >= 0 && date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= kDays[date.month - 1];
}

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
long long DaysOf(int year, int month, int day)
{
    const long long y = year - (month <= 2);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

Date DateOfDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    Date date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2));
    return date;
}

int WeekdayOf(long long days)
{
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

long long FloorDiv(long long a, long long b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

bool ParseMoment(std::string_view value, Moment& m)
{
    if (!ParseDate(value, m.date) || m.date.year == 0)
        return false;
    const size_t t = value.find_first_of("Tt");
    if (t == std::string_view::npos)
        return true;
    const std::string time(value.substr(t + 1));
    int hms[3] = {0, 0, 0};
    for (size_t k = 0; k < 3 && 2 * k + 2 <= time.size(); ++k) {
        const char a = time[2 * k], b = time[2 * k + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9')
            break;
        hms[k] = (a - '0') * 10 + (b - '0');
    }
    m.seconds = (hms[0] % 24) * 3600 + (hms[1] % 60) * 60 + hms[2] % 61;
    m.utc = !time.empty() && (time.back() == 'Z' || time.back() == 'z');
    return true;
}
