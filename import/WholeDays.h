// Whole-day events without a rule, as holiday feeds and some birthday
// calendars write a yearly day: one event per year. For each title and date
// only a small record of the years it was seen in is kept, never the
// events, so that a calendar of a million appointments takes little memory;
// a title's text is kept once it is seen a second time.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "calendar/MovableHolidays.h"
#include "contentlines/Dates.h"
#include "import/Entry.h"

// The years a title was seen on one date: enough to tell whether two dates
// were seen in the same years, and to name the years when there are few.
struct YearSet {
    int count = 0;
    short first = 0, last = 0;  // the least and the greatest
    long long sum = 0;
    long long squares = 0;
    bool operator==(const YearSet& o) const
    {
        return count == o.count && first == o.first && last == o.last && sum == o.sum && squares == o.squares;
    }
    void Add(int year);
    // The years themselves when there are no more than four, else none.
    std::vector<int> Years() const;
};

// One title on one date, and the years it was seen there; the days of a
// title are chained in the order they were first seen.
struct TitleDay {
    int next;  // the title's next day, -1 for none
    int line;  // of its first event
    YearSet years;
    short year;  // the year code of its first event
    unsigned char day, month;
    bool birthday : 1;  // two years make it yearly, and it never ends
    bool holiday : 1;   // of a holidays calendar: it ends only before the calendar's last year
    bool first : 1;     // the title's first day
};

class WholeDays {
public:
    // One event: its title (trimmed), date (its year between 1 and 9999)
    // and the year code it would be added with.
    void Add(const std::string& title, const Date& date, const std::string& year, bool birthday, bool holiday,
             int line);
    // The entries, title by title in the order of their first events. A
    // title seen on the same days in the same years, at least three (two
    // for a birthday), is yearly on each of them: ended if its last year
    // has passed, unless a birthday, or a holiday that goes on to the
    // calendar's last day (horizon, in days). One seen in a single year gives one-off
    // appointments. One on days a fixed distance from Easter Sunday in
    // every year is a feast that moves with it (listed in feasts); any
    // other falls on other dates in other years.
    void Decide(const Date& today, long long horizon, const EntrySink& emit, std::vector<ListedFeast>& feasts) const;

private:
    struct Title {
        int first = -1, last = -1;  // its first and last day in m_days
        int name = -1;              // in m_names; -1 until the title is seen again
    };
    void DecideTitle(const std::vector<const TitleDay*>& days, const std::string& name, const Date& today,
                     long long horizon, const EntrySink& emit, std::vector<ListedFeast>& feasts) const;

    std::vector<TitleDay> m_days;  // in file order
    std::unordered_map<uint64_t, Title> m_titles;
    std::vector<std::string> m_names;
};
