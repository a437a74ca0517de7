#include "tool/Calendars.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <unordered_set>

#include "app/Settings.h"
#include "contentlines/Cp1250.h"
#include "countries/Countries.h"
#include "records/Atoi.h"
#include "records/FileSystem.h"
#include "tool/Run.h"

namespace {

// The record line of an entry, in the data file's code page.
std::string KeyOf(const CountryEntry& e)
{
    char date[8];
    std::snprintf(date, sizeof date, "%02d.%02d", e.day % 100, e.month % 100);
    return std::string(date) + " " + e.year + " " + cp1250::FromUtf8(e.name);
}

std::string KeyOf(const RecordList& list, int i)
{
    std::string key(list.m_arrDay[i]);
    key.append(".").append(list.m_arrMonth[i]).append(" ").append(list.m_arrYear[i]).append(" ");
    return key.append(list.m_arrName[i]);
}

CountryCalendar Calendar(const std::string& code)
{
    CountryCalendar calendar;
    FindCountryCalendar(code, calendar);  // the code was checked with the arguments
    return calendar;
}

// The list of the records at these places, in this order.
void Reorder(RecordList& list, const std::vector<int>& order)
{
    RecordList result;
    for (int i : order) {
        result.m_arrDay.Add(list.m_arrDay[i]);
        result.m_arrMonth.Add(list.m_arrMonth[i]);
        result.m_arrYear.Add(list.m_arrYear[i]);
        result.m_arrName.Add(list.m_arrName[i]);
    }
    result.m_nCount = static_cast<int>(order.size());
    list = std::move(result);
}

std::string HolidaysOfIni()
{
    Settings settings = DefaultSettings(0);
    std::string ini;
    if (filesys::ReadWholeFile(SettingsFileName(0), ini))
        ApplySettingsText(settings, ini);
    std::string code;
    for (char c : settings.m_strHolidays) {
        if (c != ' ' && c != '\t')
            code += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return code;
}

}  // namespace

int RemoveCalendars(const ImportOptions& options, RecordList& list, const ImportPrint& print)
{
    std::unordered_set<std::string> keys;
    for (const std::string& code : options.removeCalendars) {
        for (const CountryEntry& e : Calendar(code).entries)
            keys.insert(KeyOf(e));
    }
    // A record that a list being added holds stays: it would come back.
    for (const std::string& code : options.addCalendars) {
        for (const CountryEntry& e : Calendar(code).entries)
            keys.erase(KeyOf(e));
    }
    if (keys.empty())
        return 0;
    std::vector<int> order;
    for (int i = 0; i < list.m_nCount; ++i) {
        const std::string key = KeyOf(list, i);
        if (keys.count(key))
            print("removed " + cp1250::ToUtf8(key), false);
        else
            order.push_back(i);
    }
    const int removed = list.m_nCount - static_cast<int>(order.size());
    Reorder(list, order);
    return removed;
}

void AddCalendars(const ImportOptions& options, RecordList& list, ImportMerge& merge, const ImportPrint& print)
{
    const int before = list.m_nCount;
    for (const std::string& code : options.addCalendars) {
        const CountryCalendar calendar = Calendar(code);
        const ImportMerge::Counts since = merge.Done();
        for (const CountryEntry& e : calendar.entries) {
            ImportEntry entry;
            entry.name = e.name, entry.day = e.day, entry.month = e.month, entry.year = e.year;
            merge.Add(entry, calendar.code, print);
        }
        print(calendar.code + (calendar.nameDays ? " name days and holidays: " : " holidays: ") +
                  std::to_string(calendar.entries.size()) + " entries: " + ImportSummary(merge.Done(), since),
              false);
        if (!calendar.nameDays)
            print("  " + calendar.code + " has no common name-day calendar, so its fixed-date holidays come alone.",
                  false);
    }
    // The name days added go where a data file keeps them: among the name
    // days before its first record of another kind, in date order if those
    // are in it.
    int first = 0;
    while (first < before && list.m_arrYear[first] == "0000")
        ++first;
    const auto date = [&](int i) {
        return AtoiSaturating(list.m_arrMonth[i]) * 100 + AtoiSaturating(list.m_arrDay[i]);
    };
    bool sorted = true;
    for (int i = 1; i < first; ++i)
        sorted = sorted && date(i - 1) <= date(i);
    std::vector<int> added, others;
    for (int i = first; i < list.m_nCount; ++i)
        (i >= before && list.m_arrYear[i] == "0000" ? added : others).push_back(i);
    if (added.empty())
        return;
    std::vector<int> order;
    for (int i = 0; i < first; ++i)
        order.push_back(i);
    if (sorted) {
        std::stable_sort(added.begin(), added.end(), [&](int a, int b) { return date(a) < date(b); });
        std::vector<int> calendar;
        std::merge(order.begin(), order.end(), added.begin(), added.end(), std::back_inserter(calendar),
                   [&](int a, int b) { return date(a) < date(b); });
        order.swap(calendar);
    } else {
        order.insert(order.end(), added.begin(), added.end());
    }
    order.insert(order.end(), others.begin(), others.end());
    Reorder(list, order);
}

void PrintCalendarNotes(const ImportOptions& options, const RecordList& list, const ImportPrint& print)
{
    if (options.addCalendars.empty())
        return;
    const std::string ini = HolidaysOfIni();
    for (const std::string& added : options.addCalendars) {
        const std::string code = Calendar(added).code;
        if (ini == code)
            print("Tolvari.ini has HOLIDAYS=" + code + ": the holidays that move with Easter show too.", false);
        else
            print("For the " + code + " holidays that move with Easter, put the line HOLIDAYS=" + code +
                      " in Tolvari.ini" + (ini.empty() ? "." : " (it now has HOLIDAYS=" + ini + ")."),
                  false);
    }
    // Two calendars' names of one day run together in the window.
    std::unordered_set<std::string> present;
    for (int i = 0; i < list.m_nCount; ++i)
        present.insert(KeyOf(list, i));
    for (const std::string& other : CountryCodes()) {
        const CountryCalendar calendar = Calendar(other);
        int nameDays = 0, there = 0;
        for (const CountryEntry& e : calendar.entries) {
            if (e.year == "0000")
                ++nameDays, there += static_cast<int>(present.count(KeyOf(e)));
        }
        bool adding = false;
        for (const std::string& added : options.addCalendars)
            adding = adding || Calendar(added).code == other;
        if (!adding && nameDays > 0 && there * 2 > nameDays)
            print("Note: the data file holds the " + other +
                      " name days too, and Tolvari runs the names of a day together; --remove-calendar " + other +
                      " takes them out.",
                  false);
    }
}
