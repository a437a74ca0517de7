// Calendar files (iCalendar, and vCalendar 1.0's rules): the yearly events.
#pragma once

#include <vector>

#include "calendar/MovableHolidays.h"
#include "contentlines/ContentLineReader.h"
#include "import/Entry.h"

// One entry per event: yearly ones taken, the others skipped with their
// reason; the feasts that move with Easter, listed one date a year, are
// added to feasts. The reader stands after BEGIN:VCALENDAR.
int ReadICalendarLines(ContentLineReader& reader, const ReadContext& context, const EntrySink& sink,
                       std::vector<ListedFeast>& feasts);
