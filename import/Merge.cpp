#include "import/Merge.h"

#include <cstdio>

#include "contentlines/Cp1250.h"

namespace {

std::string Key(std::string_view day, std::string_view month, std::string_view year, std::string_view name)
{
    std::string key(day);
    key.append(".").append(month).append(" ").append(year).append(" ").append(name);
    return key;
}

// A name fit for one line of the data file, in its code page.
std::string RecordName(const std::string& utf8, bool& lossy)
{
    std::string name = cp1250::FromUtf8(utf8, &lossy);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// A birthday or anniversary (a year, or 8888 for one without): a person
// on a day, whatever the year.
bool IsPersonal(std::string_view year)
{
    return year != "0000" && year != "9999";
}

}  // namespace

void ImportMerge::Known(std::string_view day, std::string_view month, std::string_view year, std::string_view name)
{
    m_lines.insert(Key(day, month, year, name));
    if (IsPersonal(year))
        m_people.insert(Key(day, month, "", name));
}

ImportMerge::ImportMerge(RecordList& list) : m_list(list)
{
    for (int i = 0; i < list.m_nCount; ++i)
        Known(list.m_arrDay[i], list.m_arrMonth[i], list.m_arrYear[i], list.m_arrName[i]);
}

void ImportMerge::Add(const std::vector<ImportEntry>& entries, const std::string& source, const ImportPrint& print)
{
    for (const ImportEntry& e : entries)
        Add(e, source, print);
}

void ImportMerge::Add(const ImportEntry& e, const std::string& source, const ImportPrint& print)
{
    if (e.oneOff) {
        ++m_counts.oneOff;
        return;
    }
    if (e.Skipped()) {
        ++m_counts.skipped;
        const std::string where = e.line > 0 ? source + ":" + std::to_string(e.line) : source;
        print("skipped" + (e.name.empty() ? std::string() : " \"" + e.name + "\"") + " in " + where + ": " + e.Reason(),
              false);
        return;
    }
    bool lossy = false;
    const std::string name = e.exactName.empty() ? RecordName(e.name, lossy) : e.exactName;
    char day[4], month[4];
    std::snprintf(day, sizeof day, "%02d", e.day % 100);
    std::snprintf(month, sizeof month, "%02d", e.month % 100);
    const std::string line = Key(day, month, e.year, name);
    // A birthday without its year (a birthday calendar's) is the one of the
    // same person on that day that is there already, with or without it.
    if (m_lines.count(line) || (e.year == "8888" && m_people.count(Key(day, month, "", name)))) {
        ++m_counts.already;
        return;
    }
    Known(day, month, e.year, name);
    m_list.m_arrDay.Add(day);
    m_list.m_arrMonth.Add(month);
    m_list.m_arrYear.Add(e.year);
    m_list.m_arrName.Add(name);
    ++m_list.m_nCount;
    ++m_counts.added;
    print(cp1250::ToUtf8(line), false);
    if (lossy)
        print("  (a character that code page 1250 cannot hold became \"?\")", false);
}
