#include "export/Export.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "calendar/MovableHolidays.h"
#include "contentlines/Cp1250.h"
#include "export/ExportWords.h"

namespace {

bool IsLeap(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysIn(int month, int year)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// A field of exactly `digits` ASCII digits as its number, else -1.
int Number(std::string_view text, size_t digits)
{
    if (text.size() != digits || text.find_first_not_of("0123456789") != std::string_view::npos)
        return -1;
    int n = 0;
    for (char c : text)
        n = n * 10 + (c - '0');
    return n;
}

// One content line, folded so that no line holds more than 75 octets, and
// never inside a UTF-8 sequence (a calendar would read a broken character).
void AppendLine(std::string& out, std::string_view line)
{
    for (size_t limit = 75; line.size() > limit; limit = 74) {
        size_t cut = limit;
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.data(), cut).append("\r\n ");
        line.remove_prefix(cut);
    }
    out.append(line.data(), line.size()).append("\r\n");
}

void AppendLine(std::string& out, std::string_view name, std::string_view value)
{
    AppendLine(out, std::string(name) + ":" + std::string(value));
}

// A UTF-8 text as a TEXT value: "\" ";" "," escaped.
std::string TextValue(std::string_view utf8)
{
    std::string out;
    for (char c : utf8) {
        if (c == '\\' || c == ';' || c == ',')
            out += '\\';
        out += c;
    }
    return out;
}

// A name as a calendar's title: control characters as blanks, a run of
// blanks as one, none at the ends.
std::string Readable(std::string_view name)
{
    std::string out;
    for (char c : name) {
        if (c != ' ' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The name's exact bytes for the import of Tolvari's own calendars, where
// the title loses some: printable ASCII as it is, other bytes as %XX.
std::string ExactValue(std::string_view name)
{
    std::string out;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u > 0x20 && u < 0x7F && c != '%' && c != '\\' && c != ';' && c != ',') {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", u);
            out += hex;
        }
    }
    return out;
}

// FNV-1a, 64 bits: the same on every build, unlike std::hash.
uint64_t Fnv1a(std::string_view bytes, uint64_t hash = 14695981039346656037ull)
{
    for (char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// The hash of the record's line, "DD.MM YEAR NAME".
uint64_t RecordHash(const RecordList& list, int i)
{
    uint64_t hash = Fnv1a(list.m_arrDay[i]);
    hash = Fnv1a(list.m_arrYear[i], Fnv1a(" ", Fnv1a(list.m_arrMonth[i], Fnv1a(".", hash))));
    return Fnv1a(list.m_arrName[i], Fnv1a(" ", hash));
}

// Which of several equal records each is, in file order, without a table
// of all records: only the hashes that occur more than once are counted.
class Ordinals {
public:
    explicit Ordinals(const RecordList& list)
    {
        std::vector<uint64_t> hashes(static_cast<size_t>(list.m_nCount));
        for (int i = 0; i < list.m_nCount; ++i)
            hashes[static_cast<size_t>(i)] = RecordHash(list, i);
        std::sort(hashes.begin(), hashes.end());
        for (size_t i = 1; i < hashes.size(); ++i) {
            if (hashes[i] == hashes[i - 1])
                m_repeated.emplace(hashes[i], 0);
        }
    }
    int Next(uint64_t hash)
    {
        const auto found = m_repeated.find(hash);
        return found == m_repeated.end() ? 1 : ++found->second;
    }

private:
    std::unordered_map<uint64_t, int> m_repeated;
};

// The alarm's offset from the all-day start (midnight) for `days` days
// before at 09:00: 7 days is -P6DT15H, the day itself PT9H.
std::string Trigger(int days)
{
    if (days == 0)
        return "PT9H";
    return days == 1 ? "-PT15H" : "-P" + std::to_string(days - 1) + "DT15H";
}

std::string DateValue(int year, int month, int day)
{
    char text[40];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    return text;
}

// An all-day event and what tells it apart; lines in the order written.
struct Event {
    std::string uid, rule, title, description;
    int year = 0, month = 0, day = 0;
    EventKind kind = EventKind::Birthday;
    std::string tolvari;  // its X-TOLVARI- lines
};

void AppendEvent(std::string& out, const Event& e, const ExportChoice& choice, const std::string& stamp)
{
    const bool lastDay = e.day == DaysIn(e.month, e.year);
    AppendLine(out, "BEGIN:VEVENT");
    AppendLine(out, "UID", e.uid);
    AppendLine(out, "DTSTAMP", stamp);
    AppendLine(out, "DTSTART;VALUE=DATE", DateValue(e.year, e.month, e.day));
    AppendLine(out, "DTEND;VALUE=DATE",
               lastDay ? DateValue(e.month == 12 ? e.year + 1 : e.year, e.month % 12 + 1, 1)
                       : DateValue(e.year, e.month, e.day + 1));
    if (!e.rule.empty())
        AppendLine(out, "RRULE", e.rule);
    AppendLine(out, "SUMMARY", TextValue(e.title));
    if (!e.description.empty())
        AppendLine(out, "DESCRIPTION", TextValue(e.description));
    AppendLine(out, "CATEGORIES", TextValue(KindCategory(e.kind, choice.uiLanguage)));
    AppendLine(out, "TRANSP:TRANSPARENT");
    out += e.tolvari;
    if (choice.remindDays >= 0) {
        AppendLine(out, "BEGIN:VALARM");
        AppendLine(out, "ACTION:DISPLAY");
        AppendLine(out, "DESCRIPTION",
                   TextValue(ReminderText(e.kind, e.title, choice.remindDays, e.day, e.month, choice.uiLanguage)));
        AppendLine(out, "TRIGGER", Trigger(choice.remindDays));
        AppendLine(out, "END:VALARM");
    }
    AppendLine(out, "END:VEVENT");
}

// The calendar's text as it is made, written in pieces of some 64 KB.
struct Output {
    explicit Output(const ExportWrite& to) : write(to) {}
    const ExportWrite& write;
    std::string text;
    bool ok = true;
    void Flush(bool last = false)
    {
        if (ok && (last || text.size() >= 65536)) {
            ok = write(text);
            text.clear();
        }
    }
};

// The holidays that move with Easter as dated events, with UIDs of their
// country, year and days from Easter: "CZ-2026-easter+1@tolvari".
void AppendMovingHolidays(Output& out, const ExportChoice& choice, const std::string& stamp, ExportCounts& counts)
{
    const std::string code = HolidayCountryCode(*choice.country);
    for (int year = choice.firstYear; year < choice.firstYear + kMovingHolidayYears; ++year) {
        for (const MovableHolidayDate& holiday : MovableHolidaysOf(*choice.country, year)) {
            Event e;
            e.uid = code + "-" + std::to_string(year) + "-easter" + (holiday.offset < 0 ? "" : "+") +
                    std::to_string(holiday.offset) + "@tolvari";
            e.title = cp1250::ToUtf8(holiday.name);
            e.description = MovesWithEaster(code, choice.uiLanguage);
            e.year = year, e.month = holiday.month, e.day = holiday.day;
            e.kind = EventKind::Holiday;
            // Tolvari works them out itself: its import passes them over.
            AppendLine(e.tolvari, "X-TOLVARI-MOVES", code);
            AppendEvent(out.text, e, choice, stamp);
            ++counts.moving;
            out.Flush();
        }
    }
}

}  // namespace

bool FormatICalendar(const RecordList& list, const ExportChoice& choice, const std::string& stamp,
                     const ImportPrint& print, ExportCounts& counts, const ExportWrite& write)
{
    Output out(write);
    const std::string title = CalendarTitle(choice.holidays, choice.calendar, choice.uiLanguage);
    for (const char* line :
         {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Tolvari//Tolvari//EN", "CALSCALE:GREGORIAN", "METHOD:PUBLISH"})
        AppendLine(out.text, line);
    AppendLine(out.text, "X-WR-CALNAME", TextValue(title));
    AppendLine(out.text, "NAME", TextValue(title));
    // The UID is the record's content and, among equal records, which one
    // it is: it stays when other records are added, changed or moved.
    Ordinals ordinals(list);
    for (int i = 0; i < list.m_nCount && out.ok; ++i) {
        const std::string_view dayText = list.m_arrDay[i], monthText = list.m_arrMonth[i];
        const std::string_view year = list.m_arrYear[i], name = list.m_arrName[i];
        const bool holiday = year == "9999", calendar = year == "0000";
        if ((holiday && !choice.holidays) || (calendar && !choice.calendar)) {
            ++(holiday ? counts.holidaysLeft : counts.calendarLeft);
            continue;
        }
        const int day = Number(dayText, 2), month = Number(monthText, 2);
        int start = holiday || calendar || year == "8888" ? kCodeStartYear : Number(year, 4);
        const bool date = month >= 1 && month <= 12 && day >= 1 && day <= DaysIn(month, kCodeStartYear);
        // 29 February of a common year: the event starts in the next leap year.
        while (date && start >= 0 && start <= 9999 && day > DaysIn(month, start))
            ++start;
        Event e;
        e.title = cp1250::ToUtf8(Readable(name));
        const char* why = !date             ? "not a day and month of the calendar"
                          : start < 0       ? "the year is not four digits"
                          : start > 9999    ? "no 29 February after that year"
                          : name.empty()    ? "an entry without a name"
                          : e.title.empty() ? "a name of blanks only"
                                            : nullptr;
        if (why) {
            ++counts.skipped;
            print("skipped " +
                      cp1250::ToUtf8(std::string(dayText) + "." + std::string(monthText) + " " + std::string(year) +
                                     " " + std::string(name)) +
                      ": " + why,
                  false);
            continue;
        }
        const uint64_t hash = RecordHash(list, i);
        char uid[48];
        std::snprintf(uid, sizeof uid, "%016llx-%d@tolvari", static_cast<unsigned long long>(hash),
                      ordinals.Next(hash));
        e.uid = uid;
        e.year = start, e.month = month, e.day = day;
        e.kind = holiday ? EventKind::Holiday : calendar ? EventKind::Calendar : EventKind::Birthday;
        // A birthday of 29 February falls on the month's last day, as the
        // window shows it: 28 February in common years.
        e.rule = e.kind == EventKind::Birthday && month == 2 && day == 29 ? "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"
                                                                          : "FREQ=YEARLY";
        if (e.kind == EventKind::Birthday && year != "8888")
            e.description = SinceYear(year, choice.uiLanguage);
        // The year as the data file has it, and the name where the title
        // does not give it back exactly, for the import to take back.
        AppendLine(e.tolvari, "X-TOLVARI-YEAR", year);
        if (cp1250::FromUtf8(e.title) != name)
            AppendLine(e.tolvari, "X-TOLVARI-NAME", ExactValue(name));
        AppendEvent(out.text, e, choice, stamp);
        ++counts.exported;
        out.Flush();
    }
    if (out.ok && choice.holidays && choice.country)
        AppendMovingHolidays(out, choice, stamp, counts);
    counts.exported += counts.moving;
    if (!out.ok || counts.exported == 0)
        return out.ok;
    AppendLine(out.text, "END:VCALENDAR");
    out.Flush(true);
    return out.ok;
}
