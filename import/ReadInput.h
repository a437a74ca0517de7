// One contacts or calendar file read, whichever it is.
#pragma once

#include <string_view>
#include <vector>

#include "calendar/MovableHolidays.h"
#include "contentlines/ByteSource.h"
#include "import/Entry.h"

enum class InputFormat { Unknown, VCard, ICalendar };

struct ReadResult {
    InputFormat format = InputFormat::Unknown;
    int items = 0;  // cards or events
    // The holidays that move with Easter a calendar lists one date a year,
    // which Tolvari itself shows by HOLIDAYS= of Tolvari.ini.
    std::vector<ListedFeast> feasts;
};

// Reads one input, handing each entry on as soon as its card or event is
// read. The first "BEGIN:VCARD" or "BEGIN:VCALENDAR" tells the format; what
// comes before it is passed over.
ReadResult ReadInput(ByteSource& source, const ReadContext& context, const EntrySink& sink);

// The same for a text in memory, all entries at once.
std::vector<ImportEntry> ReadEntries(std::string_view text, const ReadContext& context = ReadContext());
