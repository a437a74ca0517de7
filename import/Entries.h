// What the import takes from contacts and calendar files: one entry per
// birthday, anniversary or yearly event, or the reason it cannot be one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/ContentLines.h"

struct ImportEntry {
    std::string name;  // UTF-8; may be empty when skipped
    int day = 0;
    int month = 0;
    std::string year;     // four digits, or "8888" / "9999"
    std::string skipped;  // the reason, if the entry cannot be a record
    bool oneOff = false;  // an appointment that does not repeat yearly: counted, not listed
    // The name's code page 1250 bytes as Tolvari's own export carries them,
    // taken as they are; empty: name is converted and tidied.
    std::string exactName;
};

// The suffix that marks an anniversary taken from a contact.
constexpr char kAnniversarySuffix[] = " - anniversary";

// The four-digit year text; a date without a year (0), or a year that is a
// code of the data file, becomes "8888".
std::string BirthdayYear(int year);

// What a calendar needs to know of the user's world.
struct ReadContext {
    Date today{1, 1, 2000};  // a series whose last date lies before it has ended
    // Minutes east of UTC of local time at a UTC time (seconds since 1970);
    // without it, local time is UTC.
    std::function<int(long long utc)> localOffset;
};

enum class InputFormat { Unknown, VCard, ICalendar };

struct ReadResult {
    InputFormat format = InputFormat::Unknown;
    int items = 0;  // cards or events
};

using EntrySink = std::function<void(const ImportEntry&)>;

// Reads one input, handing each entry on as soon as its card or event is
// read. The first "BEGIN:VCARD" or "BEGIN:VCALENDAR" tells the format; what
// comes before it is passed over.
ReadResult ReadInput(ByteSource& source, const ReadContext& context, const EntrySink& sink);

// The birthdays and anniversaries of every card of a vCard file (2.1, 3.0,
// 4.0), in file order; cards without one give no entry. The reader stands
// after the card's BEGIN line.
int ReadVCardLines(ContentLineReader& reader, const EntrySink& sink);

// One entry per event of an iCalendar file: yearly ones taken, the others
// skipped with their reason. The reader stands after BEGIN:VCALENDAR.
int ReadICalendarLines(ContentLineReader& reader, const ReadContext& context, const EntrySink& sink);

// The same for a text in memory, all entries at once.
std::vector<ImportEntry> ReadEntries(std::string_view text, const ReadContext& context = ReadContext());
