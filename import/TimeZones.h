// The time zones a calendar describes (VTIMEZONE), so that an event given in
// one of them falls on the user's own date.
#pragma once

#include <climits>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "contentlines/ContentLine.h"
#include "contentlines/Dates.h"
#include "import/Entry.h"
#include "import/Event.h"

// One STANDARD or DAYLIGHT part of a VTIMEZONE: its offset from its onset
// on, the onset given once or by a yearly rule ("the last Sunday of March").
struct Observance {
    int offset = 0;  // minutes east of UTC
    Moment start;
    int month = 0, week = 0, weekday = -1, untilYear = INT_MAX;

    // The onset in the given year (local wall seconds), or false.
    bool OnsetIn(int year, long long& wall) const;
};

using Zone = std::vector<Observance>;

// The zone's offset at a wall-clock time: that of the observance whose
// onset came last.
int OffsetAt(const Zone& zone, long long wall);

// "+0100", "-0530" to minutes.
int OffsetMinutes(std::string_view text);

class TimeZones {
public:
    // A component begins: VTIMEZONE, or STANDARD or DAYLIGHT inside one.
    void Begin(const std::string& kind);
    // A line of a VTIMEZONE (inside == "VTIMEZONE") or of one of its parts.
    void Line(const ContentLine& line, const std::string& inside);
    // The user's date of a date or date-time: a time in UTC or in a zone
    // described is moved to local time; a floating time, or one in a zone not
    // described, is taken as the user's own. False if it is no date.
    bool LocalDate(const Dated& dated, const ReadContext& context, Date& date) const;

private:
    std::map<std::string, Zone> m_zones;
    std::string m_tzid;
};
