#include "calendar/DayReport.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "calendar/MovableHolidays.h"
#include "records/Atoi.h"

namespace {

const char* const kWeekdaysEn[] = {"Sunday, ",   "Monday, ", "Tuesday, ", "Wednesday, ",
                                   "Thursday, ", "Friday, ", "Saturday, "};
// Czech in code page 1250: neděle, pondělí, úterý, středa, čtvrtek, pátek, sobota.
const char* const kWeekdaysCz[] = {"ned\xECle ",
                                   "pond\xECl\xED ",
                                   "\xFAter\xFD ",
                                   "st\xF8"
                                   "eda ",
                                   "\xE8tvrtek ",
                                   "p\xE1tek ",
                                   "sobota "};
const char* const kMonthsEn[] = {"January ", "February ", "March ",     "April ",   "May ",      "June ",
                                 "July ",    "August ",   "September ", "October ", "November ", "December "};
// leden, únor, březen, duben, květen, červen, červenec, srpen, září, říjen, listopad, prosinec.
const char* const kMonthsCz[] = {"leden ",
                                 "\xFAnor ",
                                 "b\xF8"
                                 "ezen ",
                                 "duben ",
                                 "kv\xECten ",
                                 "\xE8"
                                 "erven ",
                                 "\xE8"
                                 "ervenec ",
                                 "srpen ",
                                 "z\xE1\xF8\xED ",
                                 "\xF8\xEDjen ",
                                 "listopad ",
                                 "prosinec "};

const char kLineBreak[] = "\r\n";
const char kCalendarCode[] = "0000";
const char kHolidayCode[] = "9999";
const char kNoAgeCode[] = "8888";

// The displayed day and the seven days after it.
constexpr int kDays = 8;

struct Key {
    std::string day, month;
};

uint32_t Pack(std::string_view day, std::string_view month)
{
    return RecordLines::PackKey(day.data(), month.data());
}

int ClampToInt(int64_t value)
{
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

void AppendLine(std::string& text, std::string_view line, const char* separator)
{
    if (!text.empty())
        text += separator;
    text += line;
}

}  // namespace

std::string DayKey(long long number)
{
    return number < 10 ? "0" + std::to_string(number) : std::to_string(number);
}

std::string FormatDateLine(const CurrentDate& date, int uiLanguage)
{
    const bool czech = uiLanguage != 0;
    const bool weekdayKnown = date.m_nDOW >= 1 && date.m_nDOW <= 7;
    const bool monthKnown = date.m_nMonth >= 1 && date.m_nMonth <= 12;
    std::string weekday = weekdayKnown ? (czech ? kWeekdaysCz : kWeekdaysEn)[date.m_nDOW - 1] : (czech ? "? " : "?, ");
    std::string month = monthKnown ? (czech ? kMonthsCz : kMonthsEn)[date.m_nMonth - 1] : "? ";
    if (czech)
        return weekday + " " + std::to_string(date.m_nDay) + ". " + month + " " + std::to_string(date.m_nYear);
    return weekday + month + " " + std::to_string(date.m_nDay) + ", " + std::to_string(date.m_nYear);
}

// One pass over the records instead of one per day: each record is matched
// against all eight day keys at once. Within a look-ahead line the names come
// in day order and, within a day, in list order, as a pass per day gives them.
int BuildDayReport(const RecordList& list, const CurrentDate& date, int uiLanguage, DayReportTexts& out,
                   const HolidayCountry* country)
{
    out = DayReportTexts();

    // Keys of two plus two bytes, the usual ones, are compared as one
    // 32-bit code each; packedMask tells which keys have a code.
    Key keys[kDays];
    uint32_t codes[kDays];
    unsigned packedMask = 0;
    unsigned leapMask = 0;  // the days that are 28 February of a year without a 29th
    std::vector<const char*> movable[kDays];
    CurrentDate day = date;
    for (int k = 0; k < kDays; ++k) {
        if (k > 0)
            day.NextDay();
        Key& key = keys[k];
        key.day = DayKey(day.m_nDay);
        key.month = DayKey(day.m_nMonth);
        const bool packed = key.day.size() == 2 && key.month.size() == 2;
        codes[k] = packed ? Pack(key.day, key.month) : 0;
        packedMask |= static_cast<unsigned>(packed) << k;
        const bool leap = day.m_nDay == 28 && day.m_nMonth == 2 && MonthLength(2, day.m_nYear) == 28;
        leapMask |= static_cast<unsigned>(leap) << k;
        if (country)
            MovableHolidaysOn(*country, day.m_nDay, day.m_nMonth, day.m_nYear, movable[k]);
    }
    const uint32_t leapDay = Pack("29", "02");
    const unsigned allDays = (1u << kDays) - 1;
    // The eight days fall in one or two months; most records are in others
    // and are passed over after one comparison of their month bytes.
    uint32_t months[kDays];
    int monthCount = 0;
    for (int k = 0; k < kDays; ++k) {
        const uint32_t month = codes[k] >> 16;
        if ((packedMask & (1u << k)) && std::find(months, months + monthCount, month) == months + monthCount)
            months[monthCount++] = month;
    }

    int count = list.m_nCount;
    count = count < list.m_arrDay.GetSize() ? count : list.m_arrDay.GetSize();
    count = count < list.m_arrMonth.GetSize() ? count : list.m_arrMonth.GetSize();
    count = count < list.m_arrYear.GetSize() ? count : list.m_arrYear.GetSize();
    count = count < list.m_arrName.GetSize() ? count : list.m_arrName.GetSize();

    // A freshly loaded list: the codes of lines in the usual layout come
    // ready from loading, so the pass does not read those lines at all.
    const RecordLines* lines = list.m_arrDay.ShownLines(RecordField::Day);
    if (lines != list.m_arrMonth.ShownLines(RecordField::Month))
        lines = nullptr;

    std::vector<int> ahead[kDays];
    int last = -1;
    for (int i = 0; i < count; ++i) {
        uint32_t code = lines ? lines->DayMonthKey(i) : 0;
        bool packed = code != 0;
        std::string_view d, m;
        if (!packed) {
            d = list.m_arrDay[i];
            m = list.m_arrMonth[i];
            packed = d.size() == 2 && m.size() == 2;
            if (packed)
                code = Pack(d, m);
        }
        unsigned matches = 0;
        if (packed) {
            const uint32_t month = code >> 16;
            bool near = false;
            for (int j = 0; j < monthCount; ++j)
                near |= months[j] == month;
            if (!near)
                continue;
            for (int k = 0; k < kDays; ++k)
                matches |= static_cast<unsigned>(codes[k] == code) << k;
            matches &= packedMask;
            if (code == leapDay && leapMask) {
                const std::string_view year = list.m_arrYear[i];
                if (year != kCalendarCode && year != kHolidayCode)
                    matches |= leapMask;
            }
        } else if (packedMask != allDays) {
            for (int k = 0; k < kDays; ++k) {
                if (!(packedMask & (1u << k)) && d == keys[k].day && m == keys[k].month)
                    matches |= 1u << k;
            }
        }
        if (matches == 0)
            continue;
        for (int k = 1; k < kDays; ++k) {
            if (matches & (1u << k))
                ahead[k].push_back(i);
        }
        if (!(matches & 1u))
            continue;

        last = i;
        const std::string_view year = list.m_arrYear[i];
        const std::string_view name = list.m_arrName[i];
        if (year == kCalendarCode) {
            out.m_showCalendar += name;
        } else if (year == kHolidayCode) {
            AppendLine(out.m_showHolidays, name, kLineBreak);
        } else if (year == kNoAgeCode) {
            AppendLine(out.m_showBirthdays, name, kLineBreak);
        } else {
            const int years = ClampToInt(static_cast<int64_t>(date.m_nYear) - AtoiSaturating(year));
            if (!out.m_showBirthdays.empty())
                out.m_showBirthdays += kLineBreak;
            out.m_showBirthdays += name;
            out.m_showBirthdays += " (";
            out.m_showBirthdays += std::to_string(years);
            out.m_showBirthdays += " let)";
        }
    }

    for (const char* name : movable[0])
        AppendLine(out.m_showHolidays, name, kLineBreak);

    std::string holidays, anniversaries, calendar;
    for (int k = 1; k < kDays; ++k) {
        for (int i : ahead[k]) {
            const std::string_view year = list.m_arrYear[i];
            std::string& line = year == kHolidayCode ? holidays : year == kCalendarCode ? calendar : anniversaries;
            AppendLine(line, list.m_arrName[i], ", ");
        }
        for (const char* name : movable[k])
            AppendLine(holidays, name, ", ");
    }
    out.m_showNextDays = holidays + kLineBreak + anniversaries + kLineBreak + calendar;
    out.m_showDnes = FormatDateLine(date, uiLanguage);
    return last;
}
