#include "import/TimeZones.h"

#include <algorithm>

#include "import/Rule.h"
#include "records/Atoi.h"

bool Observance::OnsetIn(int year, long long& wall) const
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

int OffsetMinutes(std::string_view text)
{
    if (text.size() < 5 || (text[0] != '+' && text[0] != '-'))
        return 0;
    const int minutes =
        AtoiSaturating(std::string(text.substr(1, 2))) * 60 + AtoiSaturating(std::string(text.substr(3, 2)));
    return text[0] == '-' ? -minutes : minutes;
}

void TimeZones::Begin(const std::string& kind)
{
    if (kind == "VTIMEZONE")
        m_tzid.clear();
    else
        m_zones[m_tzid].emplace_back();
}

void TimeZones::Line(const ContentLine& line, const std::string& inside)
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
    if (line.name == "TZOFFSETTO") {
        o.offset = OffsetMinutes(line.value);
    } else if (line.name == "DTSTART") {
        ParseMoment(line.value, o.start);
    } else if (line.name == "RRULE") {
        const Rule rule = ParseRule(line.value);
        if (!rule.byMonth.empty())
            o.month = std::min(12, std::max(0, rule.byMonth.front()));
        if (!rule.byDay.empty()) {
            o.weekday = rule.byDay.front().weekday;
            o.week = rule.byDay.front().week == 0 ? 1 : std::max(-5, std::min(5, rule.byDay.front().week));
        }
        if (rule.hasUntil)
            o.untilYear = rule.until.date.year;
    }
}

bool TimeZones::LocalDate(const Dated& dated, const ReadContext& context, Date& date) const
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
    const long long local = utc + (context.localOffset ? context.localOffset(utc) : 0) * 60LL;
    date = DateOfDays(FloorDiv(local, 86400));
    return true;
}
