#include "calendar/Easter.h"

namespace {

// Day 21 after 1 March is 22 March, the earliest Easter of both computuses.
constexpr long long kMarch22 = 21;

}  // namespace

int EasterAfterMarch1(int year, Computus method)
{
    if (year < kFirstComputusYear)
        return -1;
    const long long y = year;
    if (method == Computus::Western) {
        // The anonymous Gregorian algorithm (Meeus, Astronomical Algorithms,
        // chapter 8): epact and full moon from the golden number with the
        // solar and lunar corrections of the century, then the Sunday after.
        const long long a = y % 19, b = y / 100, c = y % 100;
        const long long f = (b + 8) / 25, g = (b - f + 1) / 3;
        const long long h = (19 * a + b - b / 4 - g + 15) % 30;
        const long long l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
        const long long m = (a + 11 * h + 22 * l) / 451;
        return static_cast<int>(kMarch22 + h + l - 7 * m);
    }
    // The Julian algorithm (Meeus, chapter 8), then the days the Julian
    // calendar lags behind the Gregorian one from 1 March of that year on.
    const long long d = (19 * (y % 19) + 15) % 30;
    const long long e = (2 * (y % 4) + 4 * (y % 7) - d + 34) % 7;
    const long long lag = y / 100 - y / 400 - 2;
    return static_cast<int>(kMarch22 + d + e + lag);
}

bool DateAfterMarch1(int days, int& day, int& month)
{
    static const int kLengths[] = {31, 30, 31, 30, 31, 31, 30, 31, 30, 31};  // March to December
    if (days < 0)
        return false;
    for (int i = 0; i < 10; ++i) {
        if (days < kLengths[i]) {
            day = days + 1;
            month = i + 3;
            return true;
        }
        days -= kLengths[i];
    }
    return false;
}
