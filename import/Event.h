// One event (VEVENT) of a calendar, as much of it as the import decides on.
#pragma once

#include <string>
#include <vector>

// A date or date-time value and the zone it is given in.
struct Dated {
    std::string value, tzid;
};

struct Event {
    std::string summary, uid, rrule, created;
    std::string tolvariYear, tolvariName, tolvariMoves;  // of Tolvari's own export only
    Dated start, recurrenceId;
    bool cancelled = false;
    std::vector<Dated> rdates, exdates;
    bool special = false;  // Apple's or Mozilla's mark of a birthday or anniversary
    // The birthday calendars of address books: KDE's (its start is the day
    // of birth or wedding), Nextcloud's (the year apart, a date of death too).
    bool startIsBirth = false, death = false;
    int givenYear = 0;
    int category = 0;  // 1 a birthday's, -1 a holiday's, 0 neither
    int line = 0;      // of its BEGIN:VEVENT
};
