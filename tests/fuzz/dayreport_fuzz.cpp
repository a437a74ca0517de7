// The day report on fuzzed lists and dates against the report built the
// plain way: one pass over the list for each of the eight days, stepping a
// copy of the date with NextDay, exactly as the rules describe it. Each list
// is checked as built in memory and as read from its saved file, since a
// loaded list keeps its fields in another form.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "calendar/DayReport.h"
#include "records/Atoi.h"
#include "records/DataFile.h"

namespace {

void Append(std::string& text, std::string_view name, const char* separator)
{
    if (!text.empty())
        text += separator;
    text += name;
}

bool FallsOn(const RecordList& list, int i, const CurrentDate& day)
{
    return list.m_arrDay[i] == DayKey(day.m_nDay) && list.m_arrMonth[i] == DayKey(day.m_nMonth);
}

int Reference(const RecordList& list, int count, const CurrentDate& date, int uiLanguage,
              DayReportTexts& out)
{
    out = DayReportTexts();
    std::string holidays, anniversaries, calendar;
    CurrentDate day = date;
    for (int pass = 0; pass < 7; ++pass) {
        day.NextDay();
        for (int i = 0; i < count; ++i) {
            if (!FallsOn(list, i, day))
                continue;
            const std::string_view year = list.m_arrYear[i];
            Append(year == "9999" ? holidays : year == "0000" ? calendar : anniversaries,
                   list.m_arrName[i], ", ");
        }
    }
    out.m_showNextDays = holidays + "\r\n" + anniversaries + "\r\n" + calendar;

    int last = -1;
    for (int i = 0; i < count; ++i) {
        if (!FallsOn(list, i, date))
            continue;
        const std::string_view year = list.m_arrYear[i];
        const std::string_view name = list.m_arrName[i];
        if (year == "0000") {
            out.m_showCalendar += name;
        } else if (year == "9999") {
            Append(out.m_showHolidays, name, "\r\n");
        } else if (year == "8888") {
            Append(out.m_showBirthdays, name, "\r\n");
        } else {
            long long years = static_cast<long long>(date.m_nYear) - AtoiSaturating(year);
            years = years > INT_MAX ? INT_MAX : years < INT_MIN ? INT_MIN : years;
            Append(out.m_showBirthdays, std::string(name) + " (" + std::to_string(years) + " let)",
                   "\r\n");
        }
        last = i;
    }
    out.m_showDnes = FormatDateLine(date, uiLanguage);
    return last;
}

// Mostly the keys a record needs to show, sometimes any text at all.
std::string KeyOrText(FuzzedDataProvider& in, int high)
{
    const uint8_t kind = in.ConsumeIntegral<uint8_t>();
    if (kind < 200)
        return DayKey(kind % high + 1);
    return in.ConsumeRandomLengthString(6);
}

std::string YearText(FuzzedDataProvider& in)
{
    static const char* const kCodes[] = {"0000", "9999", "8888", "1950", "0", " 7x", "-2147483649"};
    const uint8_t kind = in.ConsumeIntegral<uint8_t>();
    if (kind < 7 * 30)
        return kCodes[kind % 7];
    return in.ConsumeRandomLengthString(32);
}

// Dates near the calendar's edges and near the int limits, or any at all.
int Member(FuzzedDataProvider& in, int low, int high)
{
    const uint8_t kind = in.ConsumeIntegral<uint8_t>();
    if (kind < 160)
        return in.ConsumeIntegralInRange<int>(low, high);
    if (kind < 200)
        return kind % 2 ? INT_MAX - in.ConsumeIntegralInRange<int>(0, 40)
                        : INT_MIN + in.ConsumeIntegralInRange<int>(0, 40);
    return in.ConsumeIntegral<int>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int uiLanguage = in.ConsumeBool() ? 1 : 0;
    CurrentDate date;
    date.m_nDay = Member(in, 0, 33);
    date.m_nMonth = Member(in, 0, 13);
    date.m_nYear = Member(in, -5, 2400);
    date.m_nDOW = Member(in, 0, 8);

    RecordList list;
    const int records = in.ConsumeIntegralInRange<int>(0, 48);
    for (int i = 0; i < records && in.remaining_bytes() > 0; ++i) {
        list.m_arrDay.Add(KeyOrText(in, 31));
        list.m_arrMonth.Add(KeyOrText(in, 12));
        list.m_arrYear.Add(YearText(in));
        list.m_arrName.Add(in.ConsumeRandomLengthString(12));
    }
    list.m_nCount = list.m_arrDay.GetSize();
    RecordList loaded;
    loaded.m_nCount =
        AppendRecords(loaded, std::make_shared<const std::string>(FormatDataFile(list, uiLanguage)));
    // A count that disagrees with the columns must not read outside them.
    const uint8_t countKind = in.ConsumeIntegral<uint8_t>();
    for (RecordList* l : {&list, &loaded}) {
        if (countKind >= 240)
            l->m_nCount = countKind < 248 ? l->m_nCount + countKind % 8 : -1;
    }

    for (const RecordList* checked : {&list, &loaded}) {
        const int size = checked->m_arrDay.GetSize();
        DayReportTexts got;
        const CurrentDate before = date;
        const int last = BuildDayReport(*checked, date, uiLanguage, got);
        FUZZ_CHECK(date == before);

        DayReportTexts want;
        const int count = checked->m_nCount < 0 ? 0 : checked->m_nCount < size ? checked->m_nCount : size;
        const int wantLast = Reference(*checked, count, date, uiLanguage, want);
        FUZZ_CHECK(last == wantLast);
        FUZZ_CHECK(got.m_showDnes == want.m_showDnes);
        FUZZ_CHECK(got.m_showCalendar == want.m_showCalendar);
        FUZZ_CHECK(got.m_showHolidays == want.m_showHolidays);
        FUZZ_CHECK(got.m_showBirthdays == want.m_showBirthdays);
        FUZZ_CHECK(got.m_showNextDays == want.m_showNextDays);
    }
    return 0;
}
