#include "export/Export.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "contentlines/Cp1250.h"

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

// A name as a TEXT value: UTF-8, "\" ";" "," escaped, a line break as "\n",
// other control characters (never allowed in the value) as blanks.
std::string TextValue(std::string_view cp1250Text)
{
    std::string out;
    for (char c : cp1250::ToUtf8(cp1250Text)) {
        if (c == '\\' || c == ';' || c == ',')
            out.append(1, '\\').append(1, c);
        else if (c == '\r' || c == '\n')
            out += "\\n";
        else
            out += (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F ? ' ' : c;
    }
    return out;
}

// FNV-1a, 64 bits: the same on every build, unlike std::hash.
uint64_t Fnv1a(std::string_view bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

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

}  // namespace

std::string FormatICalendar(const RecordList& list, const ExportChoice& choice, const std::string& stamp,
                            const ImportPrint& print, ExportCounts& counts)
{
    std::string out;
    // About the size of an event, so that the text grows without copies.
    out.reserve(static_cast<size_t>(list.m_nCount) * (choice.remindDays >= 0 ? 400 : 300));
    for (const char* line : {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Tolvari//Tolvari//EN", "CALSCALE:GREGORIAN",
                             "METHOD:PUBLISH", "X-WR-CALNAME:Tolvari"})
        AppendLine(out, line);
    // The UID is the record's content and, among equal records, which one
    // it is: it stays when other records are added, changed or moved.
    std::unordered_map<uint64_t, int> seen;
    seen.reserve(static_cast<size_t>(list.m_nCount));
    for (int i = 0; i < list.m_nCount; ++i) {
        const std::string_view dayText = list.m_arrDay[i], monthText = list.m_arrMonth[i];
        const std::string_view year = list.m_arrYear[i], name = list.m_arrName[i];
        const bool holiday = year == "9999", calendar = year == "0000";
        if ((holiday && !choice.holidays) || (calendar && !choice.calendar)) {
            ++(holiday ? counts.holidaysLeft : counts.calendarLeft);
            continue;
        }
        const std::string record =
            std::string(dayText) + "." + std::string(monthText) + " " + std::string(year) + " " + std::string(name);
        const int day = Number(dayText, 2), month = Number(monthText, 2);
        int start = holiday || calendar || year == "8888" ? kCodeStartYear : Number(year, 4);
        const bool date = month >= 1 && month <= 12 && day >= 1 && day <= DaysIn(month, kCodeStartYear);
        // 29 February of a common year: the event starts in the next leap year.
        while (date && start >= 0 && start <= 9999 && day > DaysIn(month, start))
            ++start;
        const char* why = !date          ? "not a day and month of the calendar"
                          : start < 0    ? "the year is not four digits"
                          : start > 9999 ? "no 29 February after that year"
                          : name.empty() ? "an entry without a name"
                                         : nullptr;
        if (why) {
            ++counts.skipped;
            print("skipped " + cp1250::ToUtf8(record) + ": " + why, false);
            continue;
        }
        const uint64_t hash = Fnv1a(record);
        char uid[48];
        std::snprintf(uid, sizeof uid, "UID:%016llx-%d@tolvari", static_cast<unsigned long long>(hash), ++seen[hash]);
        const bool lastDay = day == DaysIn(month, start);
        const std::string end =
            lastDay ? DateValue(month == 12 ? start + 1 : start, month % 12 + 1, 1) : DateValue(start, month, day + 1);
        const std::string text = TextValue(name);
        AppendLine(out, "BEGIN:VEVENT");
        AppendLine(out, uid);
        AppendLine(out, "DTSTAMP:" + stamp);
        AppendLine(out, "DTSTART;VALUE=DATE:" + DateValue(start, month, day));
        AppendLine(out, "DTEND;VALUE=DATE:" + end);
        AppendLine(out, "RRULE:FREQ=YEARLY");
        AppendLine(out, "SUMMARY:" + text);
        AppendLine(out, "TRANSP:TRANSPARENT");
        // The year as the data file has it, for the import to take back.
        AppendLine(out, "X-TOLVARI-YEAR:" + std::string(year));
        if (choice.remindDays >= 0) {
            AppendLine(out, "BEGIN:VALARM");
            AppendLine(out, "ACTION:DISPLAY");
            AppendLine(out, "DESCRIPTION:" + text);
            AppendLine(out, "TRIGGER:" + Trigger(choice.remindDays));
            AppendLine(out, "END:VALARM");
        }
        AppendLine(out, "END:VEVENT");
        ++counts.exported;
    }
    AppendLine(out, "END:VCALENDAR");
    return out;
}
