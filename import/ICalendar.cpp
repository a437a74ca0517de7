#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <set>

#include "import/ContentLines.h"
#include "import/Cp1250.h"
#include "import/Entries.h"
#include "records/Atoi.h"

namespace {

long long FloorDiv(long long a, long long b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// A DTSTART-like value: a date, or a date and time of day.
struct Moment {
    Date date;
    int seconds = -1;  // -1: a date alone
    bool utc = false;
    long long Wall() const { return DaysOf(date.year, date.month, date.day) * 86400 + (seconds < 0 ? 0 : seconds); }
};

bool ParseMoment(std::string_view value, Moment& m)
{
    if (!ParseDate(value, m.date) || m.date.year == 0)
        return false;
    const size_t t = value.find_first_of("Tt");
    if (t == std::string_view::npos)
        return true;
    const std::string time(value.substr(t + 1));
    int hms[3] = {0, 0, 0};
    for (size_t k = 0; k < 3 && 2 * k + 2 <= time.size(); ++k) {
        const char a = time[2 * k], b = time[2 * k + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9')
            break;
        hms[k] = (a - '0') * 10 + (b - '0');
    }
    m.seconds = (hms[0] % 24) * 3600 + (hms[1] % 60) * 60 + hms[2] % 61;
    m.utc = !time.empty() && (time.back() == 'Z' || time.back() == 'z');
    return true;
}

// The weekday of a day count: 0 Sunday to 6 Saturday.
int WeekdayOf(long long days)
{
    return static_cast<int>(((days + 4) % 7 + 7) % 7);
}

int WeekdayCode(std::string_view code)
{
    static const char* const kCodes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    for (int k = 0; k < 7; ++k) {
        if (code == kCodes[k])
            return k;
    }
    return -1;
}

// One STANDARD or DAYLIGHT part of a VTIMEZONE: its offset from its onset
// on, the onset given once or by a yearly rule ("the last Sunday of March").
struct Observance {
    int offset = 0;  // minutes east of UTC
    Moment start;
    int month = 0, week = 0, weekday = -1, untilYear = INT_MAX;

    // The onset in the given year (local wall seconds), or false.
    bool OnsetIn(int year, long long& wall) const
    {
        if (year < start.date.year || year > untilYear)
            return false;
        if (month == 0 || weekday < 0) {
            wall = start.Wall();
            return year == start.date.year;
        }
        static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int last = month == 2 && (year % 4 != 0 || (year % 100 == 0 && year % 400 != 0)) ? 28 : kDays[month - 1];
        int day;
        if (week > 0) {
            day = 1 + (weekday - WeekdayOf(DaysOf(year, month, 1)) + 7) % 7 + (week - 1) * 7;
        } else {
            day = last - (WeekdayOf(DaysOf(year, month, last)) - weekday + 7) % 7 + (week + 1) * 7;
        }
        if (day < 1 || day > last)
            return false;
        wall = DaysOf(year, month, day) * 86400 + (start.seconds < 0 ? 0 : start.seconds);
        return true;
    }
};

using Zone = std::vector<Observance>;

// The zone's offset at a wall-clock time: that of the observance whose
// onset came last.
int OffsetAt(const Zone& zone, long long wall)
{
    const int year = DateOfDays(FloorDiv(wall, 86400)).year;
    long long best = LLONG_MIN;
    int offset = zone.empty() ? 0 : zone.front().offset;
    for (const Observance& o : zone) {
        for (int y : {year - 1, year}) {
            long long onset = 0;
            if (o.OnsetIn(y, onset) && onset <= wall && onset >= best) {
                best = onset;
                offset = o.offset;
            }
        }
        long long first = o.start.Wall();
        if (best == LLONG_MIN && first <= wall)
            offset = o.offset;  // a single onset years back
    }
    return offset;
}

// "+0100", "-0530" to minutes.
int OffsetMinutes(std::string_view text)
{
    if (text.size() < 5 || (text[0] != '+' && text[0] != '-'))
        return 0;
    const int minutes =
        AtoiSaturating(std::string(text.substr(1, 2))) * 60 + AtoiSaturating(std::string(text.substr(3, 2)));
    return text[0] == '-' ? -minutes : minutes;
}

// Text lowered for word search, in code page 1250 so that the letters of
// Central European languages compare without their case.
std::string Lowered(const std::string& utf8)
{
    std::string text = cp1250::FromUtf8(utf8);
    for (char& c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            b = static_cast<unsigned char>(b + 0x20);
        else if (b == 0x8A || (b >= 0x8C && b <= 0x8F))
            b = static_cast<unsigned char>(b + 0x10);
        else if (b == 0xA3 || b == 0xAA || b == 0xAF)
            b = static_cast<unsigned char>(b + 0x10);
        else if (b == 0xA5)
            b = 0xB9;
        else if (b == 0xBC)
            b = 0xBE;
        c = static_cast<char>(b);
    }
    return text;
}

bool HasWord(const std::string& utf8, std::initializer_list<const char*> words)
{
    const std::string lower = Lowered(utf8);
    for (const char* word : words) {
        if (lower.find(word) != std::string::npos)
            return true;
    }
    return false;
}

// clang-format off
// Birthdays and anniversaries in English and the languages of code page
// 1250 (and German), as code page 1250 text in lower case.
bool SaysBirthday(const std::string& utf8)
{
    return HasWord(utf8, {"birthday", "narozenin", "narodenin", "urodzin", "sz\xFClet\xE9snap", "rojstn",
                          "geburtstag", "ro\xF0" "endan", "zi de na",
                          "anniversar", "aniversar", "v\xFDro\xE8", "rocznic", "\xE9vfordul", "obletnic",
                          "godi\x9Anjic", "jahrestag", "hochzeitstag"});
}

bool SaysHoliday(const std::string& utf8)
{
    return HasWord(utf8, {"holiday", "feiertag", "sv\xE1tk", "sviatk", "\x9Cwi\xEAt", "swiet", "\xFCnnep",
                          "praznik", "blagdan", "s\xE3rb\xE3tor", "festiv"});
}
// clang-format on

struct Dated {
    std::string value, tzid;
};

struct Event {
    std::string summary, uid, rrule, created, tolvariYear, tolvariName, tolvariMoves;
    Dated start, recurrenceId;
    bool cancelled = false;
    std::vector<Dated> rdates, exdates;
    bool special = false;
    int category = 0;  // 1 a birthday's, -1 a holiday's, 0 neither
};

struct Series {
    std::string name, year;
    std::vector<Date> dates;
    int events = 0;
};

class CalendarReader {
public:
    CalendarReader(const ReadContext& context, const EntrySink& sink) : m_context(context), m_sink(sink) {}
    int Read(ContentLineReader& reader);

private:
    void TimeZoneLine(const ContentLine& line, const std::string& inside);
    void EventLine(const ContentLine& line);
    void Decide(const Event& event);
    void DecideGroups();
    Series& Group(const std::string& key);
    bool LocalDate(const Dated& dated, Date& date) const;
    std::string YearOf(const Event& event, const Date& start) const;
    void Emit(const ImportEntry& entry);

    const ReadContext& m_context;
    const EntrySink& m_sink;
    std::map<std::string, Zone> m_zones;
    std::string m_tzid;
    bool m_birthdayCalendar = false, m_holidayCalendar = false, m_fromTolvari = false;
    Event m_event;
    std::set<std::string> m_masters;
    // The dates of events without a rule, by UID, in file order.
    std::vector<std::pair<std::string, Series>> m_groups;
    std::map<std::string, size_t> m_groupOf;
    // Ended series wait for the end: one that goes on under another event
    // (a series split in two) is no news.
    std::vector<ImportEntry> m_ended;
    std::set<std::string> m_taken;
    std::set<std::string> m_moving;  // the names of Tolvari's moving holidays
};

bool CalendarReader::LocalDate(const Dated& dated, Date& date) const
{
    std::string_view value = dated.value;
    value = value.substr(0, value.find('/'));  // a period's start
    Moment m;
    if (!ParseMoment(value, m))
        return false;
    date = m.date;
    if (m.seconds < 0)
        return true;
    long long utc = m.Wall();
    if (!m.utc) {
        const auto zone = m_zones.find(dated.tzid);
        if (zone == m_zones.end())
            return true;  // a floating time, or a zone not described: the user's own
        utc -= OffsetAt(zone->second, utc) * 60LL;
    }
    const long long local = utc + (m_context.localOffset ? m_context.localOffset(utc) : 0) * 60LL;
    date = DateOfDays(FloorDiv(local, 86400));
    return true;
}

// A birthday keeps its year only when the event plainly began before it was
// entered: then the start is the day of birth, not the day of typing it in.
std::string CalendarReader::YearOf(const Event& event, const Date& start) const
{
    if (m_holidayCalendar || event.category < 0)
        return "9999";
    const bool birthday = event.category > 0 || m_birthdayCalendar || event.special || SaysBirthday(event.summary);
    if (!birthday)
        return "9999";
    Moment created;
    if (ParseMoment(event.created, created) &&
        DaysOf(start.year + 1, start.month, start.month == 2 && start.day == 29 ? 28 : start.day) <
            DaysOf(created.date.year, created.date.month, created.date.day))
        return BirthdayYear(start.year);
    return "8888";
}

// Why a rule does not repeat an event every year on its start's day and
// month ("" if it does); lastYear gets the year of its last date.
const char kNotYearly[] = "does not repeat every year";

// vCalendar 1.0, as old phones and Outlook write it: "YM1 3 #0" (every
// year in March, for ever), "YD1 #5", "YM1 20301231T000000".
std::string YearlyV1(const std::string& rrule, const Date& start, int& lastYear)
{
    const std::vector<std::string> words = SplitText(UpperAscii(rrule), ' ');
    if (words[0] != "YM1" && words[0] != "YD1")
        return kNotYearly;
    for (size_t k = 1; k < words.size(); ++k) {
        Moment until;
        if (words[k].size() > 1 && words[k][0] == '#' && words[k] != "#0")
            lastYear = start.year + std::max(1, std::min(AtoiSaturating(words[k].substr(1)), 10000)) - 1;
        else if (ParseMoment(words[k], until))
            lastYear = until.date.year - (until.date.month * 100 + until.date.day < start.month * 100 + start.day);
        else if (!words[k].empty() && words[k][0] != '#' &&
                 AtoiSaturating(words[k]) != (words[0] == "YM1" ? start.month : 0))
            return "does not repeat on the same date every year (RRULE:" + rrule.substr(0, 80) + ")";
    }
    return std::string();
}

std::string Yearly(const std::string& rrule, const Date& start, int& lastYear)
{
    bool yearly = false, fixed = true;
    int interval = 1;
    lastYear = INT_MAX;
    if (rrule.find('=') == std::string::npos)
        return YearlyV1(rrule, start, lastYear);
    for (const std::string& part : SplitText(UpperAscii(rrule), ';')) {
        const size_t equals = part.find('=');
        const std::string name = part.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : part.substr(equals + 1);
        if (name == "FREQ")
            yearly = value == "YEARLY" || value == "MONTHLY";
        else if (name == "INTERVAL")
            interval = AtoiSaturating(value);
        else if (name == "BYMONTH")
            fixed = fixed && AtoiSaturating(value) == start.month && value.find(',') == std::string::npos;
        else if (name == "BYMONTHDAY")
            // -1: the month's last day, which is always the start's day only
            // for the longest a month has (29 February: 28 in common years).
            fixed =
                fixed && value.find(',') == std::string::npos &&
                (AtoiSaturating(value) == start.day ||
                 (value == "-1" && start.day == (start.month == 2 ? 29 : 30 + (start.month + start.month / 8) % 2)));
        else if (name == "COUNT")
            lastYear = std::min(lastYear, start.year + std::max(1, std::min(AtoiSaturating(value), 10000)) - 1);
        else if (name == "UNTIL") {
            Moment until;
            if (ParseMoment(value, until))
                lastYear = std::min(lastYear, until.date.year - (until.date.month * 100 + until.date.day <
                                                                 start.month * 100 + start.day));
        } else if (name != "WKST")
            fixed = false;
    }
    // Some exporters write a yearly event as every twelve months.
    const bool monthly = UpperAscii(rrule).find("FREQ=MONTHLY") != std::string::npos;
    if (!yearly || interval != (monthly ? 12 : 1))
        return yearly && interval > 1 && !monthly ? "repeats every " + std::to_string(interval) + " years" : kNotYearly;
    return fixed ? std::string() : "does not repeat on the same date every year (RRULE:" + rrule.substr(0, 80) + ")";
}

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

void CalendarReader::Decide(const Event& event)
{
    ImportEntry entry;
    entry.name = UnescapeText(event.summary);
    entry.name.erase(0, entry.name.find_first_not_of(' '));
    entry.name.erase(entry.name.find_last_not_of(' ') + 1);
    Date start;
    // The program's own export: the year code as it was, the date as written,
    // the exact name where the title lost some of it. Its moving holidays
    // are worked out by Tolvari itself: one word for each.
    if (!event.tolvariMoves.empty()) {
        if (!m_moving.insert(entry.name).second)
            return;
        entry.skipped = "moves with Easter: HOLIDAYS=" + event.tolvariMoves.substr(0, 20);
        return Emit(entry);
    }
    if (event.tolvariYear.size() == 4 && event.tolvariYear.find_first_not_of("0123456789") == std::string::npos &&
        ParseDate(event.start.value, start)) {
        entry.day = start.day;
        entry.month = start.month;
        entry.year = event.tolvariYear;
        entry.exactName = ExactName(event.tolvariName);
        return Emit(entry);
    }
    const bool override = !event.recurrenceId.value.empty();
    if (override || (event.rrule.empty() && !event.rdates.empty())) {
        // One date of a series (Google writes a birthday as one per year):
        // decided at the end, when all dates of its UID are known.
        if (override && m_masters.count(event.uid))
            return;
        Series& series = Group(event.uid.empty() ? "#" + std::to_string(m_groups.size()) : event.uid);
        ++series.events;
        if (series.name.empty())
            series.name = entry.name;
        std::vector<Dated> dates = event.rdates;
        if (!event.cancelled)
            dates.push_back(event.start.value.empty() ? event.recurrenceId : event.start);
        for (const Dated& d : dates) {
            Date date;
            if (LocalDate(d, date)) {
                series.dates.push_back(date);
                if (series.year.empty() || series.dates.size() == 1)
                    series.year = YearOf(event, date);
            }
        }
        for (const Dated& d : event.exdates) {
            Date date;
            if (LocalDate(d, date))
                series.dates.erase(std::remove_if(series.dates.begin(), series.dates.end(),
                                                  [&](const Date& x) {
                                                      return x.day == date.day && x.month == date.month &&
                                                             x.year == date.year;
                                                  }),
                                   series.dates.end());
        }
        return;
    }
    if (!event.uid.empty() && !event.rrule.empty())
        m_masters.insert(event.uid);
    int lastYear = INT_MAX;
    if (!LocalDate(event.start, start))
        entry.skipped = event.start.value.empty() ? "an event without a start date"
                                                  : "DTSTART is not a date: " + event.start.value.substr(0, 80);
    else if (event.rrule.empty() && !event.cancelled && !entry.name.empty() &&
             event.start.value.find_first_of("Tt") == std::string::npos) {
        // A whole day without a rule: one of a series written as one event
        // a year (holiday feeds, some birthday calendars), decided at the end.
        char day[8];
        std::snprintf(day, sizeof day, "|%02d%02d", start.month, start.day);
        Series& series = Group("\n" + entry.name + day);
        series.name = entry.name;
        series.dates.push_back(start);
        if (++series.events == 1)
            series.year = YearOf(event, start);
        return;
    } else if (event.rrule.empty() || event.cancelled)
        entry.skipped = event.cancelled ? "cancelled" : "does not repeat";
    else
        entry.skipped = Yearly(event.rrule, start, lastYear);
    // Appointments are counted, not listed: they were never meant to be here.
    entry.oneOff = entry.skipped == "does not repeat" || entry.skipped == kNotYearly || event.cancelled ||
                   event.start.value.empty();
    if (entry.skipped.empty() && lastYear != INT_MAX) {
        std::set<int> excluded;
        for (const Dated& d : event.exdates) {
            Date date;
            if (LocalDate(d, date) && date.day == start.day && date.month == start.month)
                excluded.insert(date.year);
        }
        while (lastYear >= start.year && excluded.count(lastYear))
            --lastYear;
        const Date& today = m_context.today;
        if (lastYear < start.year ||
            DaysOf(lastYear, start.month, start.day) < DaysOf(today.year, today.month, today.day))
            entry.skipped = "the series ended in " + std::to_string(std::max(lastYear, start.year));
    }
    if (entry.skipped.empty() && entry.name.empty())
        entry.skipped = "an event without a SUMMARY";
    entry.day = start.day;
    entry.month = start.month;
    if (entry.skipped.empty())
        entry.year = YearOf(event, start);
    Emit(entry);
}

std::string SeriesKey(const ImportEntry& entry)
{
    return entry.name + "|" + std::to_string(entry.month * 100 + entry.day);
}

void CalendarReader::Emit(const ImportEntry& entry)
{
    if (entry.skipped.compare(0, 17, "the series ended ") == 0)
        return m_ended.push_back(entry);
    if (entry.skipped.empty())
        m_taken.insert(SeriesKey(entry));
    m_sink(entry);
}

Series& CalendarReader::Group(const std::string& key)
{
    const auto found = m_groupOf.emplace(key, m_groups.size());
    if (found.second)
        m_groups.emplace_back(key, Series());
    return m_groups[found.first->second].second;
}

void CalendarReader::DecideGroups()
{
    for (auto& [uid, series] : m_groups) {
        if (m_masters.count(uid))
            continue;
        ImportEntry entry;
        entry.name = series.name;
        std::set<int> years;
        int lastYear = 0;
        for (const Date& d : series.dates) {
            years.insert(d.year);
            lastYear = std::max(lastYear, d.year);
            if (d.day != series.dates[0].day || d.month != series.dates[0].month)
                entry.skipped = "falls on other dates in other years";
        }
        const Date first = series.dates.empty() ? Date() : series.dates[0];
        const Date& today = m_context.today;
        if (years.size() < 2) {
            // A single date, or none left (all cancelled): appointments.
            entry.oneOff = true;
            entry.skipped = "does not repeat";
            for (int k = 1; k < series.events; ++k)
                Emit(entry);
        } else if (!entry.skipped.empty()) {
        } else if (DaysOf(lastYear, first.month, first.day) < DaysOf(today.year, today.month, today.day)) {
            entry.skipped = "the series ended in " + std::to_string(lastYear);
        } else if (entry.name.empty()) {
            entry.skipped = "an event without a SUMMARY";
        }
        entry.day = first.day;
        entry.month = first.month;
        entry.year = series.year;
        Emit(entry);
    }
}

void CalendarReader::TimeZoneLine(const ContentLine& line, const std::string& inside)
{
    if (inside == "VTIMEZONE") {
        if (line.name == "TZID")
            m_tzid = line.value;
        return;
    }
    Zone& zone = m_zones[m_tzid];
    if (zone.empty())
        return;
    Observance& o = zone.back();
    if (line.name == "TZOFFSETTO")
        o.offset = OffsetMinutes(line.value);
    else if (line.name == "DTSTART")
        ParseMoment(line.value, o.start);
    else if (line.name == "RRULE") {
        for (const std::string& part : SplitText(UpperAscii(line.value), ';')) {
            const size_t equals = part.find('=');
            const std::string name = part.substr(0, equals),
                              value = part.substr(equals == std::string::npos ? part.size() : equals + 1);
            if (name == "BYMONTH")
                o.month = std::min(12, std::max(0, AtoiSaturating(value)));
            else if (name == "BYDAY" && value.size() >= 2) {
                o.weekday = WeekdayCode(std::string_view(value).substr(value.size() - 2));
                const std::string n = value.substr(0, value.size() - 2);
                o.week = n.empty() ? 1
                                   : std::max(-5, std::min(5, n[0] == '-' ? -AtoiSaturating(n.substr(1))
                                                                          : AtoiSaturating(n.substr(n[0] == '+'))));
            } else if (name == "UNTIL") {
                Moment until;
                if (ParseMoment(value, until))
                    o.untilYear = until.date.year;
            }
        }
    }
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
    }
}

int CalendarReader::Read(ContentLineReader& reader)
{
    int events = 0;
    std::vector<std::string> components{"VCALENDAR"};
    ContentLine line;
    while (reader.Next(line)) {
        const std::string inside = components.empty() ? std::string() : components.back();
        if (line.name == "BEGIN") {
            components.push_back(UpperAscii(line.value));
            const std::string& kind = components.back();
            if (kind == "VEVENT")
                m_event = Event();
            else if ((kind == "STANDARD" || kind == "DAYLIGHT") && inside == "VTIMEZONE")
                m_zones[m_tzid].emplace_back();
            else if (kind == "VTIMEZONE")
                m_tzid.clear();
        } else if (line.name == "END") {
            if (inside == "VEVENT") {
                ++events;
                Decide(m_event);
            }
            if (!components.empty())
                components.pop_back();
        } else if (inside == "VCALENDAR") {
            if (line.name == "PRODID")
                m_fromTolvari = line.value.find("Tolvari") != std::string::npos;
            if (line.name == "X-WR-CALNAME" || line.name == "NAME") {
                // "Birthdays and holidays" says neither: each event decides.
                const bool holidays = SaysHoliday(line.Utf8Value()), birthdays = SaysBirthday(line.Utf8Value());
                m_holidayCalendar = holidays && !birthdays;
                m_birthdayCalendar = birthdays && !holidays;
            }
        } else if (inside == "VEVENT") {
            EventLine(line);
        } else if (inside == "VTIMEZONE" || ((inside == "STANDARD" || inside == "DAYLIGHT") && components.size() >= 2 &&
                                             components[components.size() - 2] == "VTIMEZONE")) {
            TimeZoneLine(line, inside);
        }
    }
    DecideGroups();
    for (const ImportEntry& entry : m_ended) {
        if (!m_taken.count(SeriesKey(entry)))
            m_sink(entry);
    }
    return events;
}

}  // namespace

int ReadICalendarLines(ContentLineReader& reader, const ReadContext& context, const EntrySink& sink)
{
    return CalendarReader(context, sink).Read(reader);
}
