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
    first = count ? std::min(first, year) : year;
    last = count ? std::max(last, year) : year;
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

uint64_t DayKey(uint64_t title, int month, int day)
{
    return title ^ (static_cast<uint64_t>(month * 32 + day) * 0x9E3779B97F4A7C15ULL);
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

void WholeDays::Add(const std::string& title, const Date& date, const std::string& year, bool birthday, bool lasting,
                    int line)
{
    const uint64_t hash = HashOf(title);
    Title& t = m_titles[hash];
    if (t.first >= 0 && t.name < 0) {
        t.name = static_cast<int>(m_names.size());
        m_names.push_back(title);
    }
    const auto found = m_dayOf.emplace(DayKey(hash, date.month, date.day), static_cast<uint32_t>(m_days.size()));
    if (found.second) {
        m_days.push_back(TitleDay{hash, line, YearSet(), static_cast<short>(std::atoi(year.c_str())),
                                  static_cast<unsigned char>(date.day), static_cast<unsigned char>(date.month),
                                  birthday, lasting});
        if (t.first < 0)
            t.first = static_cast<int>(found.first->second);
    }
    TitleDay& day = m_days[found.first->second];
    day.years.Add(date.year);
    day.birthday = day.birthday || birthday;
    day.lasting = day.lasting || lasting;
}

void WholeDays::Decide(const Date& today, const EntrySink& emit, std::vector<ListedFeast>& feasts) const
{
    // The days of each title together, titles in the order of their first event.
    std::vector<uint32_t> order(m_days.size());
    for (uint32_t k = 0; k < order.size(); ++k)
        order[k] = k;
    const auto firstOf = [&](uint32_t k) { return m_titles.at(m_days[k].title).first; };
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return firstOf(a) < firstOf(b); });
    std::vector<const TitleDay*> days;
    for (size_t from = 0; from < order.size();) {
        days.clear();
        for (; days.empty() || (from < order.size() && m_days[order[from]].title == days[0]->title); ++from)
            days.push_back(&m_days[order[from]]);
        const Title& title = m_titles.at(days[0]->title);
        DecideTitle(days, title.name >= 0 ? m_names[title.name] : std::string(), today, emit, feasts);
    }
}

void WholeDays::DecideTitle(const std::vector<const TitleDay*>& days, const std::string& name, const Date& today,
                            const EntrySink& emit, std::vector<ListedFeast>& feasts) const
{
    ImportEntry entry;
    entry.name = name;
    entry.line = days[0]->line;
    bool same = true, birthday = false, lasting = false;
    for (const TitleDay* day : days) {
        same = same && day->years == days[0]->years;
        birthday = birthday || day->birthday;
        lasting = lasting || day->lasting;
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
            } else if (!lasting &&
                       DaysOf(years.last, day->month, day->day) < DaysOf(today.year, today.month, today.day)) {
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
        if (distances.empty() || entry.skip == Skip::Easter)
            continue;
        entry.skip = Skip::Easter;
        for (int distance : distances) {
            entry.value += (entry.value.empty() ? "" : ", ") + Distance(distance, computus);
            feasts.push_back(ListedFeast{distance, computus, cp1250::FromUtf8(name)});
        }
    }
    emit(entry);
}
