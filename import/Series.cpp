#include "import/Series.h"

#include <algorithm>

Series& SeriesGroups::Group(const std::string& key, int line)
{
    const auto found = m_groupOf.emplace(key, m_groups.size());
    if (found.second) {
        m_groups.emplace_back(key, Series());
        m_groups.back().second.line = line;
    }
    return m_groups[found.first->second].second;
}

void SeriesGroups::Decide(const std::set<std::string>& masters, const Date& today, const EntrySink& emit) const
{
    for (const auto& [uid, series] : m_groups) {
        if (masters.count(uid))
            continue;
        ImportEntry entry;
        entry.name = series.name;
        entry.line = series.line;
        std::set<int> years;
        int lastYear = 0;
        for (const Date& d : series.dates) {
            years.insert(d.year);
            lastYear = std::max(lastYear, d.year);
            if (d.day != series.dates[0].day || d.month != series.dates[0].month)
                entry.skip = Skip::Moves;
        }
        const Date first = series.dates.empty() ? Date() : series.dates[0];
        if (years.size() < 2) {
            // A single date, or none left (all cancelled): appointments.
            entry.oneOff = true;
            entry.skip = Skip::OneOff;
            for (int k = 1; k < series.events; ++k)
                emit(entry);
        } else if (entry.Skipped()) {
        } else if (!series.lasting &&
                   DaysOf(lastYear, first.month, first.day) < DaysOf(today.year, today.month, today.day)) {
            entry.skip = Skip::Ended;
            entry.value = std::to_string(lastYear);
        } else if (entry.name.empty()) {
            entry.skip = Skip::NoSummary;
        }
        entry.day = first.day;
        entry.month = first.month;
        entry.year = series.year;
        emit(entry);
    }
}

namespace {

std::string SeriesKey(const ImportEntry& entry)
{
    return entry.name + "|" + std::to_string(entry.month * 100 + entry.day);
}

}  // namespace

void EndedSeries::Emit(const ImportEntry& entry, const EntrySink& sink)
{
    if (entry.skip == Skip::Ended)
        return m_ended.push_back(entry);
    if (!entry.Skipped())
        m_taken.insert(SeriesKey(entry));
    sink(entry);
}

void EndedSeries::Finish(const EntrySink& sink) const
{
    for (const ImportEntry& entry : m_ended) {
        if (!m_taken.count(SeriesKey(entry)))
            sink(entry);
    }
}
