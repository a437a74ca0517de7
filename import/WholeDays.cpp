#include "import/WholeDays.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "calendar/Easter.h"
#include "contentlines/Cp1250.h"

void YearSet::Add(int year)
{
    // The same event twice (a calendar merged with itself) counts once.
    const std::vector<int> known = Years();
    if (std::find(known.begin(), known.end(), year) != known.end())
        return;
    const short y = static_cast<short>(year);
    first = count ? std::min(first, y) : y;
    last = count ? std::max(last, y) : y;
    ++count;
    sum += year;
    squares += static_cast<long long>(year) * year;
}

std::vector<int> YearSet::Years() const
{
    if (count <= 2)
        return count == 0 ? std::vector<int>() : count == 1 ? std::vector<int>{first} : std::vector<int>{first, last};
    // Those between the least and the greatest follow from the sums.
    const long long s = sum - first - last, q = squares - 1LL * first * first - 1LL * last * last;
    if (count == 3)
        return {first, static_cast<int>(s), last};
    const long long d2 = 2 * q - s * s;  // (a - b)^2 when a + b = s and a^2 + b^2 = q
    const long long d = d2 < 0 ? -1 : std::llround(std::sqrt(static_cast<double>(d2)));
    if (count > 4 || d < 0 || d * d != d2 || (s - d) % 2 != 0)
        return {};
    return {first, static_cast<int>((s - d) / 2), static_cast<int>((s + d) / 2), last};
}

namespace {

uint64_t HashOf(const std::string& text)
{
    uint64_t h = 1469598103934665603ULL;  // FNV-1a
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ULL;
    return h;
}

// The days of a title a fixed distance from Easter Sunday in every year it
// was seen: the distances, or none. The years of each day must be known.
std::set<int> EasterDistances(const std::vector<const TitleDay*>& days, Computus computus)
{
    std::map<int, std::set<int>> byYear;
    for (const TitleDay* day : days) {
        const std::vector<int> years = day->years.Years();
        for (int year : years) {
            const int easter = EasterAfterMarch1(year, computus);
            if (easter < 0)
                return {};
            byYear[year].insert(static_cast<int>(DaysOf(year, day->month, day->day) - DaysOf(year, 3, 1)) - easter);
        }
        if (years.empty())
            return {};
    }
    for (const auto& year : byYear) {
        if (year.second != byYear.begin()->second)
            return {};
    }
    return byYear.size() < 2 ? std::set<int>() : byYear.begin()->second;
}

std::string Distance(int days, Computus computus)
{
    const std::string easter = computus == Computus::Orthodox ? "Orthodox Easter Sunday" : "Easter Sunday";
    const int n = days < 0 ? -days : days;
    return days == 0 ? easter
                     : std::to_string(n) + (n == 1 ? " day " : " days ") + (days < 0 ? "before " : "after ") + easter;
}

}  // namespace

void WholeDays::Add(const std::string& title, const Date& date, const std::string& year, bool birthday, bool holiday,
                    int line)
{
    Title& t = m_titles[HashOf(title)];
    if (t.first >= 0 && t.name < 0) {
        t.name = static_cast<int>(m_names.size());
        m_names.push_back(title);
    }
    // A title falls on a few days a year (366 at most): its chain is short.
    int k = t.first;
    while (k >= 0 && (m_days[k].day != date.day || m_days[k].month != date.month))
        k = m_days[k].next;
    if (k < 0) {
        k = static_cast<int>(m_days.size());
        TitleDay day{-1,
                     line,
                     YearSet(),
                     static_cast<short>(std::atoi(year.c_str())),
                     static_cast<unsigned char>(date.day),
                     static_cast<unsigned char>(date.month),
                     birthday,
                     holiday,
                     t.first < 0};
        m_days.push_back(day);
        (t.first < 0 ? t.first : m_days[t.last].next) = k;
        t.last = k;
    }
    TitleDay& day = m_days[k];
    day.years.Add(date.year);
    day.birthday = day.birthday || birthday;
    day.holiday = day.holiday || holiday;
}

void WholeDays::Decide(const Date& today, long long horizon, const EntrySink& emit,
                       std::vector<ListedFeast>& feasts) const
{
    // Titles in the order of their first events; names only for those seen twice.
    std::vector<int> names(m_days.size(), -1);
    for (const auto& title : m_titles)
        names[title.second.first] = title.second.name;
    std::vector<const TitleDay*> days;
    for (size_t k = 0; k < m_days.size(); ++k) {
        if (!m_days[k].first)
            continue;
        days.clear();
        for (int d = static_cast<int>(k); d >= 0; d = m_days[d].next)
            days.push_back(&m_days[d]);
        DecideTitle(days, names[k] >= 0 ? m_names[names[k]] : std::string(), today, horizon, emit, feasts);
    }
}

void WholeDays::DecideTitle(const std::vector<const TitleDay*>& days, const std::string& name, const Date& today,
                            long long horizon, const EntrySink& emit, std::vector<ListedFeast>& feasts) const
{
    ImportEntry entry;
    entry.name = name;
    entry.line = days[0]->line;
    bool same = true, birthday = false, holiday = false;
    for (const TitleDay* day : days) {
        same = same && day->years == days[0]->years;
        birthday = birthday || day->birthday;
        holiday = holiday || day->holiday;
    }
    const YearSet& years = days[0]->years;
    if (same && years.count == 1) {
        // Appointments of one year: counted, one per event.
        entry.oneOff = true;
        entry.skip = Skip::OneOff;
        for (size_t k = 0; k < days.size(); ++k)
            emit(entry);
        return;
    }
    if (same) {
        for (const TitleDay* day : days) {
            ImportEntry e = entry;
            e.day = day->day;
            e.month = day->month;
            e.line = day->line;
            char year[8];
            std::snprintf(year, sizeof year, "%04d", day->year);
            e.year = year;
            if (years.count < 3 && !birthday) {
                e.skip = Skip::TwoYears;
                e.value = std::to_string(years.first) + " and " + std::to_string(years.last);
            } else if (const long long last = DaysOf(years.last, day->month, day->day);
                       !birthday && !(holiday && last + 2 * 366 > horizon) &&
                       last < DaysOf(today.year, today.month, today.day)) {
                e.skip = Skip::Ended;
                e.value = std::to_string(years.last);
            }
            emit(e);
        }
        return;
    }
    entry.skip = Skip::Moves;
    for (Computus computus : {Computus::Western, Computus::Orthodox}) {
        const std::set<int> distances = EasterDistances(days, computus);
        if (distances.empty() || entry.skip == Skip::MovesWithEaster)
            continue;
        entry.skip = Skip::MovesWithEaster;
        for (int distance : distances) {
            entry.value += (entry.value.empty() ? "" : ", ") + Distance(distance, computus);
            feasts.push_back(ListedFeast{distance, computus, cp1250::FromUtf8(name)});
        }
    }
    emit(entry);
}
