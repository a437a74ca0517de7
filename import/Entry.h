// What the import takes from contacts and calendar files: one entry per
// birthday, anniversary or yearly event, or the reason it cannot be one.
#pragma once

#include <functional>
#include <string>

#include "contentlines/Dates.h"
#include "import/SkipReason.h"

struct ImportEntry {
    std::string name;  // UTF-8; may be empty when skipped
    int day = 0;
    int month = 0;
    std::string year;  // four digits, or "8888" / "9999"
    Skip skip = Skip::None;
    std::string property, value;  // what the reason names (SkipReason.h)
    bool oneOff = false;          // an appointment that does not repeat yearly: counted, not listed
    int line = 0;                 // where its property, card or event starts in its file; 0 unknown
    // The name's code page 1250 bytes as Tolvari's own export carries them,
    // taken as they are; empty: name is converted and tidied.
    std::string exactName;

    bool Skipped() const { return skip != Skip::None; }
    std::string Reason() const { return Worded(skip, property, value); }
};

// The suffix that marks an anniversary taken from a contact.
constexpr char kAnniversarySuffix[] = " - anniversary";

// The year of a birth or wedding as the record's four digits; "8888" (no
// age shown) for a date without a year (0), a year that is a code of the
// data file, and the years exporters write for "no year": Apple's and
// CardBook's 1604 and a phone's 1900 (older than 120 years), or a date
// after today.
std::string BirthdayYear(const Date& date, const Date& today);

// What a calendar needs to know of the user's world.
struct ReadContext {
    Date today{1, 1, 2000};  // a series whose last date lies before it has ended
    // Minutes east of UTC of local time at a UTC time (seconds since 1970);
    // without it, local time is UTC.
    std::function<int(long long utc)> localOffset;
};

using EntrySink = std::function<void(const ImportEntry&)>;
