// A recurrence rule, parsed once into the parts the import decides on:
// iCalendar's "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU" and vCalendar 1.0's
// "YM1 3 #0" (old phones and Outlook) alike. Events and time zones read
// the structure, never the text again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contentlines/Dates.h"
#include "import/SkipReason.h"

struct Rule {
    enum class Freq { None, Yearly, Monthly, Other };
    struct Day {
        int week = 0;      // the n-th in the month or year, from the end if < 0; 0 none given
        int weekday = -1;  // 0 Sunday to 6 Saturday; -1 a code not known
    };
    std::string text;  // as written, for messages
    Freq freq = Freq::None;
    int interval = 1;
    std::vector<int> byMonth, byMonthDay, byYearDay;
    std::vector<Day> byDay;
    int count = 0;  // 0 none; else the fewest given, 1 to 10000
    bool hasUntil = false;
    Moment until;        // the earliest given
    bool other = false;  // a part besides these and WKST (BYSETPOS, an empty one, ...)
};

Rule ParseRule(std::string_view text);

// Whether the rule repeats an event that starts on start every year on the
// same day and month: Skip::None if it does, with the year of its last date
// in lastYear (INT_MAX if it has none); else the reason, and in value what
// the reason names.
Skip Yearly(const Rule& rule, const Date& start, int& lastYear, std::string& value);
