#include "import/ICalendarReader.h"

#include <algorithm>
#include <climits>
#include <set>

#include "contentlines/Escapes.h"
#include "import/BirthdayOrHoliday.h"
#include "import/Event.h"
#include "import/Rule.h"
#include "import/Series.h"
#include "import/TimeZones.h"
#include "import/WholeDays.h"

namespace {

class CalendarReader {
public:
    CalendarReader(const ReadContext& context, const EntrySink& sink) : m_context(context), m_sink(sink) {}
    int Read(ContentLineReader& reader, std::vector<ListedFeast>& feasts);

private:
    void CalendarLine(const ContentLine& line);
    void EventLine(const ContentLine& line);
    void Decide(const Event& event);
    void AddDates(const Event& event, const std::string& name);
    void AddWholeDay(const Event& event, const std::string& name, const Date& start);
    void DecideRule(const Event& event, const Date& start, ImportEntry& entry);
    // A series that stops is still a person's birthday.
    bool Lasting() const { return m_birthday; }
    // A holiday of a holidays calendar, or under a holiday category, whose
    // series stops with the last year the calendar lists: its maker listed
    // the years he covered (one that stops earlier was ended).
    bool Holiday(const Event& event) const { return !m_birthday && (m_kind.holidays || event.category < 0); }
    void Listed(const Date& date) { m_horizon = std::max(m_horizon, DaysOf(date.year, date.month, date.day)); }
    void Emit(const ImportEntry& entry) { m_ended.Emit(entry, m_sink); }
    void EmitPerson(ImportEntry entry);

    const ReadContext& m_context;
    const EntrySink& m_sink;
    TimeZones m_zones;
    CalendarKind m_kind;
    bool m_fromTolvari = false;
    Event m_event;
    bool m_birthday = false;          // the event decided on is a birthday (IsBirthday)
    long long m_horizon = LLONG_MIN;  // the last day the calendar lists
    std::vector<ImportEntry> m_held;  // holidays whose series stops, until the horizon is known
    std::set<std::string> m_masters;  // UIDs of events with a rule
    std::set<std::string> m_easter;   // names of Tolvari's moving holidays
    SeriesGroups m_groups;
    WholeDays m_days;
    EndedSeries m_ended;
};

// X-TOLVARI-NAME: code page 1250 bytes, some as %XX. Empty if it is
// damaged or holds a line end, which no line of the data file can.
std::string ExactName(std::string_view value)
{
    std::string name;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            name += value[i];
            continue;
        }
        const std::string hex(value.substr(i + 1, 2));
        if (hex.size() != 2 || hex.find_first_not_of("0123456789ABCDEF") != std::string::npos)
            return std::string();
        name += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
    }
    return name.find_first_of("\r\n") == std::string::npos ? name : std::string();
}

// The program's own export: the year code as it was, the date as written,
// the exact name where the title lost some of it.
bool OwnExport(const Event& event, ImportEntry& entry)
{
    Date start;
    if (event.tolvariYear.size() != 4 || event.tolvariYear.find_first_not_of("0123456789") != std::string::npos ||
        !ParseDate(event.start.value, start))
        return false;
    entry.day = start.day;
    entry.month = start.month;
    entry.year = event.tolvariYear;
    entry.exactName = ExactName(event.tolvariName);
    return true;
}

void CalendarReader::Decide(const Event& event)
{
    ImportEntry entry;
    entry.name = UnescapeText(event.summary);
    entry.name.erase(0, entry.name.find_first_not_of(' '));
    entry.name.erase(entry.name.find_last_not_of(' ') + 1);
    entry.line = event.line;
    if (OwnExport(event, entry))
        return Emit(entry);
    // Its moving holidays Tolvari works out itself: one word for each.
    if (!event.tolvariMoves.empty()) {
        entry.skip = Skip::Easter;
        entry.value = event.tolvariMoves.substr(0, 20);
        return m_easter.insert(entry.name).second ? Emit(entry) : void();
    }
    if (event.death) {
        entry.skip = Skip::Death;
        entry.property = "DEATHDATE";
        return Emit(entry);
    }
    // An appointment at a time of day is no birthday: spare it the words.
    const bool appointment = event.rrule.empty() && event.rdates.empty() && event.recurrenceId.value.empty() &&
                             event.start.value.find_first_of("Tt") != std::string::npos;
    m_birthday = !appointment && IsBirthday(event, m_kind);
    const bool override = !event.recurrenceId.value.empty();
    if (override || (event.rrule.empty() && !event.rdates.empty())) {
        // One date of a series (Google writes a birthday as one per year):
        // decided at the end, when all dates of its UID are known.
        if (!override || !m_masters.count(event.uid))
            AddDates(event, entry.name);
        return;
    }
    if (!event.uid.empty() && !event.rrule.empty())
        m_masters.insert(event.uid);
    Date start;
    const bool dated = m_zones.LocalDate(event.start, m_context, start);
    if (dated)
        Listed(start);
    if (!dated) {
        entry.skip = event.start.value.empty() ? Skip::NoStart : Skip::StartNotDate;
        entry.value = event.start.value.substr(0, 80);
    } else if (event.rrule.empty() && !event.cancelled && !entry.name.empty() &&
               event.start.value.find_first_of("Tt") == std::string::npos) {
        // A whole day without a rule: one of a series written as one event
        // a year (holiday feeds, some birthday calendars).
        return AddWholeDay(event, entry.name, start);
    } else if (event.rrule.empty() || event.cancelled) {
        entry.skip = event.cancelled ? Skip::Cancelled : Skip::OneOff;
    } else {
        DecideRule(event, start, entry);
    }
    // Appointments are counted, not listed: they were never meant to be here.
    entry.oneOff =
        entry.skip == Skip::OneOff || entry.skip == Skip::NotYearly || event.cancelled || event.start.value.empty();
    if (!entry.Skipped() && entry.name.empty())
        entry.skip = Skip::NoSummary;
    entry.day = start.day;
    entry.month = start.month;
    if (!entry.Skipped())
        entry.year = YearOf(event, start, m_birthday, m_context.today);
    if (entry.skip == Skip::Ended && Holiday(event) && !entry.name.empty()) {
        entry.year = "9999";
        return m_held.push_back(entry);
    }
    EmitPerson(entry);
}

// A birthday calendar's title becomes the name of its person ("Anna's
// birthday": Anna), so that the entry meets the one from contacts.
void CalendarReader::EmitPerson(ImportEntry entry)
{
    std::string person;
    int year = 0;
    if (!entry.Skipped() && entry.year != "9999" && PersonOfTitle(entry.name, person, year)) {
        entry.name = person;
        if (year && entry.year == "8888")
            entry.year = BirthdayYear(Date{entry.day, entry.month, year}, m_context.today);
    }
    Emit(entry);
}

// An event with a rule: yearly on its date, and not ended before today
// (excluded last dates end it earlier).
void CalendarReader::DecideRule(const Event& event, const Date& start, ImportEntry& entry)
{
    int lastYear = INT_MAX;
    entry.skip = Yearly(ParseRule(event.rrule), start, lastYear, entry.value);
    if (entry.Skipped() || lastYear == INT_MAX)
        return;
    Listed(Date{start.day, start.month, std::max(lastYear, start.year)});
    std::set<int> excluded;
    for (const Dated& d : event.exdates) {
        Date date;
        if (m_zones.LocalDate(d, m_context, date) && date.day == start.day && date.month == start.month)
            excluded.insert(date.year);
    }
    while (lastYear >= start.year && excluded.count(lastYear))
        --lastYear;
    const Date& today = m_context.today;
    if (lastYear < start.year ||
        (!Lasting() && DaysOf(lastYear, start.month, start.day) < DaysOf(today.year, today.month, today.day))) {
        entry.skip = Skip::Ended;
        entry.value = std::to_string(std::max(lastYear, start.year));
    }
}

void CalendarReader::AddDates(const Event& event, const std::string& name)
{
    Series& series = m_groups.Group(event.uid.empty() ? "#" + std::to_string(m_groups.Size()) : event.uid, event.line);
    ++series.events;
    series.lasting = series.lasting || Lasting();
    if (series.name.empty())
        series.name = name;
    std::vector<Dated> dates = event.rdates;
    if (!event.cancelled)
        dates.push_back(event.start.value.empty() ? event.recurrenceId : event.start);
    for (const Dated& d : dates) {
        Date date;
        if (m_zones.LocalDate(d, m_context, date)) {
            Listed(date);
            series.dates.push_back(date);
            if (series.year.empty() || series.dates.size() == 1)
                series.year = YearOf(event, date, m_birthday, m_context.today);
        }
    }
    for (const Dated& d : event.exdates) {
        Date date;
        if (!m_zones.LocalDate(d, m_context, date))
            continue;
        const auto same = [&](const Date& x) {
            return x.day == date.day && x.month == date.month && x.year == date.year;
        };
        series.dates.erase(std::remove_if(series.dates.begin(), series.dates.end(), same), series.dates.end());
    }
}

void CalendarReader::AddWholeDay(const Event& event, const std::string& name, const Date& start)
{
    m_days.Add(name, start, YearOf(event, start, m_birthday, m_context.today), m_birthday, Holiday(event), event.line);
}

void CalendarReader::EventLine(const ContentLine& line)
{
    Event& e = m_event;
    const std::string& name = line.name;
    if (name == "SUMMARY")
        e.summary = line.Utf8Value();
    else if (name == "DTSTART")
        e.start = {line.value, line.Param("TZID")};
    else if (name == "RRULE")
        e.rrule = line.value;
    else if (name == "UID")
        e.uid = line.value;
    else if (name == "CREATED")
        e.created = line.value;
    else if (name == "RECURRENCE-ID")
        e.recurrenceId = {line.value, line.Param("TZID")};
    else if (name == "STATUS")
        e.cancelled = UpperAscii(line.value) == "CANCELLED";
    else if (name == "X-TOLVARI-YEAR" && m_fromTolvari)
        e.tolvariYear = line.value;
    else if (name == "X-TOLVARI-NAME" && m_fromTolvari)
        e.tolvariName = line.value;
    else if (name == "X-TOLVARI-MOVES" && m_fromTolvari)
        e.tolvariMoves = line.value;
    else if (name == "RDATE" || name == "EXDATE") {
        for (const std::string& value : SplitText(line.value, ','))
            (name == "RDATE" ? e.rdates : e.exdates).push_back({value, line.Param("TZID")});
    } else if (name == "CATEGORIES") {
        const std::string text = line.Utf8Value();
        if (SaysHoliday(text))
            e.category = -1;
        else if (SaysBirthday(text) && e.category == 0)
            e.category = 1;
    } else if (name == "X-APPLE-SPECIAL-DAY" || name == "X-MOZILLA-BIRTHDAY") {
        e.special = e.special || SaysBirthday(line.Utf8Value()) || name == "X-MOZILLA-BIRTHDAY";
    } else if (name == "X-KDE-KABC-BIRTHDAY" || name == "X-KDE-KABC-ANNIVERSARY") {
        e.startIsBirth = UpperAscii(line.value) == "YES";
    } else if (name == "X-NEXTCLOUD-BC-FIELD-TYPE") {
        e.death = UpperAscii(line.value) == "DEATHDATE";
        e.special = !e.death;
    } else if (name == "X-NEXTCLOUD-BC-YEAR") {
        Date year;
        e.givenYear = ParseDate(line.value + "0101", year) ? year.year : 0;
    }
}

void CalendarReader::CalendarLine(const ContentLine& line)
{
    if (line.name == "PRODID")
        m_fromTolvari = line.value.find("Tolvari") != std::string::npos;
    if (line.name == "X-WR-CALNAME" || line.name == "NAME") {
        const bool holidays = SaysHoliday(line.Utf8Value()), birthdays = SaysBirthday(line.Utf8Value());
        m_kind.holidays = holidays && !birthdays;
        m_kind.birthdays = birthdays && !holidays;
    }
}

// The components as they nest: events and time zones are read, the rest
// (alarms, to-dos) passed over.
int CalendarReader::Read(ContentLineReader& reader, std::vector<ListedFeast>& feasts)
{
    int events = 0;
    std::vector<std::string> components{"VCALENDAR"};
    ContentLine line;
    while (reader.Next(line)) {
        const std::string inside = components.empty() ? std::string() : components.back();
        const bool inZone =
            inside == "VTIMEZONE" || ((inside == "STANDARD" || inside == "DAYLIGHT") && components.size() >= 2 &&
                                      components[components.size() - 2] == "VTIMEZONE");
        if (line.name == "BEGIN") {
            components.push_back(UpperAscii(line.value));
            const std::string& kind = components.back();
            if (kind == "VEVENT") {
                m_event = Event();
                m_event.line = line.number;
            } else if (((kind == "STANDARD" || kind == "DAYLIGHT") && inside == "VTIMEZONE") || kind == "VTIMEZONE") {
                m_zones.Begin(kind);
            }
        } else if (line.name == "END") {
            if (inside == "VEVENT") {
                ++events;
                Decide(m_event);
            }
            if (!components.empty())
                components.pop_back();
        } else if (inside == "VCALENDAR") {
            CalendarLine(line);
        } else if (inside == "VEVENT") {
            EventLine(line);
        } else if (inZone) {
            m_zones.Line(line, inside);
        }
    }
    const auto emit = [this](const ImportEntry& entry) { EmitPerson(entry); };
    m_groups.Decide(m_masters, m_context.today, emit);
    m_days.Decide(m_context.today, m_horizon, emit, feasts);
    // Within a year of the calendar's last day: calendars of a church year
    // end their series in the two years it spans.
    for (ImportEntry& entry : m_held) {
        if (DaysOf(std::stoi(entry.value), entry.month, entry.day) + 2 * 366 > m_horizon) {
            entry.skip = Skip::None;
            entry.value.clear();
        }
        Emit(entry);
    }
    m_ended.Finish(m_sink);
    return events;
}

}  // namespace

int ReadICalendarLines(ContentLineReader& reader, const ReadContext& context, const EntrySink& sink,
                       std::vector<ListedFeast>& feasts)
{
    return CalendarReader(context, sink).Read(reader, feasts);
}
