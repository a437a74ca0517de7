// Calendar files (iCalendar, and vCalendar 1.0's rules): the yearly events.
#pragma once

#include "contentlines/ContentLineReader.h"
#include "import/Entry.h"

// One entry per event: yearly ones taken, the others skipped with their
// reason. The reader stands after BEGIN:VCALENDAR.
int ReadICalendarLines(ContentLineReader& reader, const ReadContext& context, const EntrySink& sink);
