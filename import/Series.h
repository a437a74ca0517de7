// Series written as one event per date: Google's birthdays as overrides of
// one UID, dates listed (RDATE), holiday feeds with one whole-day event a
// year. Their dates are gathered while the calendar is read and decided on
// at its end.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "contentlines/Dates.h"
#include "import/Entry.h"

struct Series {
    std::string name, year;
    std::vector<Date> dates;
    int events = 0;
    int line = 0;          // of the first event
    bool lasting = false;  // a birthday or a holiday of a holidays calendar: it does not end
};

class SeriesGroups {
public:
    // The group of a key (a UID, or a title and date), made at its first event.
    Series& Group(const std::string& key, int line);
    size_t Size() const { return m_groups.size(); }
    // One entry per group but those of the UIDs in masters (a series with a
    // rule, of which they are changed dates): taken if it repeats on one date
    // into this year or later, or lasts; a group of one year gives one-offs,
    // one per event.
    void Decide(const std::set<std::string>& masters, const Date& today, const EntrySink& emit) const;

private:
    std::vector<std::pair<std::string, Series>> m_groups;  // in file order
    std::map<std::string, size_t> m_groupOf;
};

// Ended series wait for the end of the calendar: one that goes on under
// another event (a series split in two) is no news.
class EndedSeries {
public:
    void Emit(const ImportEntry& entry, const EntrySink& sink);
    void Finish(const EntrySink& sink) const;

private:
    std::vector<ImportEntry> m_ended;
    std::set<std::string> m_taken;
};
