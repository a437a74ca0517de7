// The day report on fuzzed lists, dates and countries against the report
// built the plain way: one pass over the list for each of the eight days,
// stepping a copy of the date with NextDay. Each list is checked as built in
// memory and as read from its saved file, where day and month come packed
// from loading. Without a country and a 29.02 record the reference is the
// one from before either existed, so such lists and dates show as they did.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>

#include "FuzzCheck.h"
#include "calendar/DayReport.h"
#include "calendar/MovableHolidays.h"
#include "records/Atoi.h"
#include "tests/unit/Rows.h"

static std::vector<std::string> Reference(const RecordList& list, const CurrentDate& date,
                                          const HolidayCountry* country)
{
    auto Append = [](std::string& text, std::string_view name, const char* separator) {
        text += (text.empty() ? "" : separator) + std::string(name);
    };
    auto on = [&](int i, const CurrentDate& d) {
        const bool leapOn28 = d.m_nDay == 28 && d.m_nMonth == 2 && d.m_nYear % 4 != 0 && list.m_arrDay[i] == "29" &&
                              list.m_arrMonth[i] == "02" && list.m_arrYear[i] != "0000" && list.m_arrYear[i] != "9999";
        return leapOn28 || (list.m_arrDay[i] == DayKey(d.m_nDay) && list.m_arrMonth[i] == DayKey(d.m_nMonth));
    };
    auto movable = [&](const CurrentDate& d, std::string& text, const char* separator) {
        std::vector<const char*> names;
        if (country)
            MovableHolidaysOn(*country, d.m_nDay, d.m_nMonth, d.m_nYear, names);
        for (const char* name : names)
            Append(text, name, separator);
    };
    std::string ahead[3], calendar, holidays, birthdays;  // ahead: holidays, anniversaries, calendar
    CurrentDate day = date;
    for (int pass = 0; pass < 7; ++pass) {
        day.NextDay();
        for (int i = 0; i < list.m_nCount; ++i) {
            const std::string_view year = list.m_arrYear[i];
            if (on(i, day))
                Append(ahead[year == "9999" ? 0 : year == "0000" ? 2 : 1], list.m_arrName[i], ", ");
        }
        movable(day, ahead[0], ", ");
    }
    int last = -1;
    for (int i = 0; i < list.m_nCount; ++i) {
        const std::string_view year = list.m_arrYear[i], name = list.m_arrName[i];
        if (!on(i, date))
            continue;
        last = i;
        const long long age = static_cast<long long>(date.m_nYear) - AtoiSaturating(year);
        if (year == "0000")
            calendar += name;
        else if (year == "9999" || year == "8888")
            Append(year == "9999" ? holidays : birthdays, name, "\r\n");
        else
            Append(birthdays,
                   std::string(name) + " (" + std::to_string(std::clamp<long long>(age, INT_MIN, INT_MAX)) + " let)",
                   "\r\n");
    }
    movable(date, holidays, "\r\n");
    return {FormatDateLine(date, 0), calendar, holidays, birthdays, ahead[0] + "\r\n" + ahead[1] + "\r\n" + ahead[2],
            std::to_string(last)};
}

// Mostly keys of the days shown or of any date, some with a byte above 0x7F,
// some any text.
static std::string Key(FuzzedDataProvider& in, int shown, int spread, int high)
{
    const uint8_t kind = in.ConsumeIntegral<uint8_t>();
    std::string key =
        kind < 230 ? DayKey(kind < 100 ? shown + kind % spread : kind % high + 1) : in.ConsumeRandomLengthString(4);
    if (kind >= 200 && kind < 230)
        key[kind % 2] = static_cast<char>(key[kind % 2] | 0x80);
    return key;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    static const char* const kKinds[] = {"0000", "9999", "8888", "1950", " 7x", "-2147483649"};
    CurrentDate date;
    date.m_nDay = in.ConsumeIntegralInRange(-1, 33);
    date.m_nMonth = in.ConsumeIntegralInRange(-1, 14);
    date.m_nYear = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(1899, 2101);
    date.m_nDOW = in.ConsumeIntegralInRange(1, 7);
    static const char* const kCountries[] = {"", "CZ", "SK", "PL", "HU", "SI", "HR", "RO", "AT", "DE"};
    const HolidayCountry* country = FindHolidayCountry(kCountries[in.ConsumeIntegralInRange(0, 9)]);
    Rows rows(in.ConsumeIntegralInRange(0, 40));
    for (auto& r : rows) {
        const uint8_t kind = in.ConsumeIntegral<uint8_t>();  // the displayed year, a code, any text
        const std::string year = kind < 30    ? std::to_string(date.m_nYear)
                                 : kind < 200 ? kKinds[kind % 6]
                                              : in.ConsumeRandomLengthString(6);
        r = {Key(in, date.m_nDay, 9, 31), Key(in, date.m_nMonth, 2, 12), year, in.ConsumeRandomLengthString(8)};
    }
    for (const RecordList& list : {ListOf(rows), Parse(FormatDataFile(ListOf(rows), 0))}) {
        DayReportTexts t;
        const int last = BuildDayReport(list, date, 0, t, country);
        FUZZ_CHECK(Reference(list, date, country) ==
                   (std::vector<std::string>{t.m_showDnes, t.m_showCalendar, t.m_showHolidays, t.m_showBirthdays,
                                             t.m_showNextDays, std::to_string(last)}));
    }
    return 0;
}
