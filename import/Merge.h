// The entries read merged into the data file's record list.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "contentlines/Print.h"
#include "import/Entry.h"
#include "records/RecordList.h"

// Appends entries to a record list, each only once: an entry equal to a
// record (same day, month, year and name) counts as already there, and so
// does a birthday without a year (8888) of a person who has one that day. Prints
// each added record as its data-file line and each skipped entry with why
// and where ("skipped "Eva" in contacts.vcf:12: ...").
class ImportMerge {
public:
    explicit ImportMerge(RecordList& list);
    void Add(const ImportEntry& entry, const std::string& source, const ImportPrint& print);
    void Add(const std::vector<ImportEntry>& entries, const std::string& source, const ImportPrint& print);
    struct Counts {
        int added = 0, already = 0, skipped = 0, oneOff = 0;
    };
    Counts Done() const { return m_counts; }

private:
    void Known(std::string_view day, std::string_view month, std::string_view year, std::string_view name);

    RecordList& m_list;
    std::unordered_set<std::string> m_lines;
    std::unordered_set<std::string> m_people;  // day, month and name of each birthday or anniversary
    Counts m_counts;
};
