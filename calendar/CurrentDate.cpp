#include "calendar/CurrentDate.h"

#include <climits>
#include <cstdint>

namespace {

int Saturate(int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// Floor division and modulo, for calendar arithmetic on negative values.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
int64_t FloorMod(int64_t a, int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// Days from 1 January 1970 to the given Gregorian date (month 1..12).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

int MonthLength(int month, int year)
{
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 30;
    }
}

int WeekdayOf(int day, int month, int year)
{
    const int64_t months = static_cast<int64_t>(month) - 1;
    const int64_t y = static_cast<int64_t>(year) + FloorDiv(months, 12);
    const int64_t m = FloorMod(months, 12) + 1;
    const int64_t days = DaysFromCivil(y, m, 1) + (static_cast<int64_t>(day) - 1);
    // 1 January 1970 was a Thursday, weekday 5.
    return static_cast<int>(FloorMod(days + 4, 7)) + 1;
}

void CurrentDate::SetDateFromClock(const std::tm& local)
{
    m_nDay = local.tm_mday;
    m_nMonth = Saturate(static_cast<int64_t>(local.tm_mon) + 1);
    m_nYear = Saturate(static_cast<int64_t>(local.tm_year) + 1900);
    m_nDOW = Saturate(static_cast<int64_t>(local.tm_wday) + 1);
}

void CurrentDate::NextDay()
{
    m_nDOW = m_nDOW == 7 ? 1 : Saturate(static_cast<int64_t>(m_nDOW) + 1);
    int64_t day = static_cast<int64_t>(m_nDay) + 1;
    const int length = MonthLength(m_nMonth, m_nYear);
    if (day > length) {
        day -= length;
        m_nMonth = Saturate(static_cast<int64_t>(m_nMonth) + 1);
        if (m_nMonth == 13) {
            m_nMonth = 1;
            m_nYear = Saturate(static_cast<int64_t>(m_nYear) + 1);
        }
    }
    m_nDay = Saturate(day);
}

void CurrentDate::PrevDay()
{
    m_nDOW = m_nDOW == 1 ? 7 : Saturate(static_cast<int64_t>(m_nDOW) - 1);
    const int64_t day = static_cast<int64_t>(m_nDay) - 1;
    if (day == 0) {
        int64_t month = static_cast<int64_t>(m_nMonth) - 1;
        if (month < 1) {
            month = 12;
            m_nYear = Saturate(static_cast<int64_t>(m_nYear) - 1);
        }
        m_nMonth = static_cast<int>(month);
        m_nDay = MonthLength(m_nMonth, m_nYear);
        return;
    }
    m_nDay = Saturate(day);
}
