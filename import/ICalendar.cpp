#include <cctype>

#include "import/ContentLines.h"
#include "import/Entries.h"
#include "records/Atoi.h"

namespace {

// The words by which calendars mark birthdays and anniversaries: Google's
// and Apple's birthday calendars by name or an X- property, desktop
// calendars by category (English or Czech).
bool SaysBirthday(const std::string& utf8)
{
    std::string lower = utf8;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* word : {"birthday", "anniversar", "narozenin", "v\xC3\xBDro\xC4\x8D"}) {
        if (lower.find(word) != std::string::npos)
            return true;
    }
    return false;
}

// Why the rule does not repeat the event on its start's day and month every
// year, or "" if it does.
std::string NotYearly(const std::string& rrule, const Date& start)
{
    bool yearly = false, fixed = true;
    for (const std::string& part : SplitText(UpperAscii(rrule), ';')) {
        const size_t equals = part.find('=');
        const std::string name = part.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : part.substr(equals + 1);
        if (name == "FREQ")
            yearly = value == "YEARLY";
        else if (name == "INTERVAL")
            fixed = fixed && AtoiSaturating(value) == 1;
        else if (name == "BYMONTH")
            fixed = fixed && AtoiSaturating(value) == start.month && value.find(',') == std::string::npos;
        else if (name == "BYMONTHDAY")
            fixed = fixed && AtoiSaturating(value) == start.day && value.find(',') == std::string::npos;
        else if (name != "UNTIL" && name != "COUNT" && name != "WKST")
            fixed = false;
    }
    if (!yearly)
        return "does not repeat every year";
    return fixed ? std::string() : "does not repeat on the same date every year (RRULE:" + rrule + ")";
}

struct Event {
    std::string summary, start, rrule;
    std::string tolvariYear;  // X-TOLVARI-YEAR of Tolvari's own export
    bool birthday = false;
};

ImportEntry EntryOf(const Event& event, bool birthdayCalendar)
{
    ImportEntry entry;
    entry.name = UnescapeText(event.summary);
    entry.name.erase(0, entry.name.find_first_not_of(' '));
    entry.name.erase(entry.name.find_last_not_of(' ') + 1);
    Date date;
    if (!ParseDate(event.start, date) || date.year == 0)
        entry.skipped = event.start.empty() ? "an event without a start date" : "DTSTART is not a date: " + event.start;
    else
        entry.skipped = NotYearly(event.rrule, date);
    if (entry.skipped.empty() && entry.name.empty())
        entry.skipped = "an event without a SUMMARY";
    entry.day = date.day;
    entry.month = date.month;
    entry.year = event.birthday || birthdayCalendar ? BirthdayYear(date.year) : "9999";
    // Tolvari's own export names the year exactly, codes included.
    if (event.tolvariYear.size() == 4 && event.tolvariYear.find_first_not_of("0123456789") == std::string::npos)
        entry.year = event.tolvariYear;
    return entry;
}

}  // namespace

std::vector<ImportEntry> ReadICalendar(std::string_view text)
{
    std::vector<ImportEntry> entries;
    std::vector<std::string> components;
    bool birthdayCalendar = false, fromTolvari = false;
    Event event;
    for (const ContentLine& line : ReadContentLines(text)) {
        const std::string inside = components.empty() ? std::string() : components.back();
        if (line.name == "BEGIN") {
            components.push_back(UpperAscii(line.value));
            if (components.back() == "VEVENT")
                event = Event();
        } else if (line.name == "END") {
            if (inside == "VEVENT")
                entries.push_back(EntryOf(event, birthdayCalendar));
            if (!components.empty())
                components.pop_back();
        } else if (inside == "VCALENDAR") {
            if (line.name.compare(0, 2, "X-") == 0 && SaysBirthday(line.Utf8Value()))
                birthdayCalendar = true;
            else if (line.name == "PRODID" && line.value.find("Tolvari") != std::string::npos)
                fromTolvari = true;
        } else if (inside == "VEVENT") {
            if (line.name == "SUMMARY")
                event.summary = line.Utf8Value();
            else if (line.name == "DTSTART")
                event.start = line.value;
            else if (line.name == "RRULE")
                event.rrule = line.value;
            else if (line.name == "X-TOLVARI-YEAR" && fromTolvari)
                event.tolvariYear = line.value;
            else if ((line.name == "CATEGORIES" || line.name.compare(0, 2, "X-") == 0) &&
                     SaysBirthday(line.Utf8Value()))
                event.birthday = true;
        }
    }
    return entries;
}
