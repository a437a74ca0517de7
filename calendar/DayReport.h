// The five texts the main window shows for the displayed day.
#pragma once

#include <string>

#include "calendar/CurrentDate.h"
#include "records/RecordList.h"

// Code page 1250 texts; lines inside one are separated by "\r\n".
struct DayReportTexts {
    std::string m_showDnes;       // the date line
    std::string m_showCalendar;   // calendar entries ("0000") of the day, run together
    std::string m_showBirthdays;  // birthdays and anniversaries of the day
    std::string m_showHolidays;   // holidays ("9999") of the day
    std::string m_showNextDays;   // holidays, anniversaries and calendar entries of the next 7 days
};

// The key a record's day or month text must equal: "0%d" below 10, else "%d".
// The editor stores a day or month the same way, a list without a selection
// (number 0) as "00".
std::string DayKey(long long number);

// English "Monday, March  5, 2001"; Czech weekday, blank, "5. ", month, blank,
// "2001", the table entries bringing one more blank each. A month outside
// 1..12 shows as "? " and a weekday outside 1..7 as "?, " in English and "? "
// in Czech: the separator each table entry would have brought.
std::string FormatDateLine(const CurrentDate& date, int uiLanguage);

struct HolidayCountry;

// Builds all five texts for the date from the first m_nCount records and
// returns the index of the last record on that day, or -1 if none is. The
// country's movable holidays of a day follow the records' holidays of that
// day. In a year without 29 February, the birthdays and anniversaries of
// 29.02 fall on 28 February, in their place among that day's records.
int BuildDayReport(const RecordList& list, const CurrentDate& date, int uiLanguage, DayReportTexts& out,
                   const HolidayCountry* country = nullptr);
