// The companion program that merges birthdays and anniversaries from
// contacts (.vcf) and calendars (.ics) into the data file: its command line,
// the merge and the whole run, free of the platform.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "import/Entries.h"
#include "records/RecordList.h"

struct ImportOptions {
    bool help = false;
    bool dryRun = false;
    // A date without a year becomes 8888 (no age shown); the option only
    // states that default.
    bool noAgeWithoutYear = false;
    std::string dataFile;  // empty: FILE= of Tolvari.ini, else Tolvari.dat
    std::vector<std::string> inputs;
    // --add-calendar CC, --remove-calendar CC: a country's name days and
    // holidays (countries/), merged like an input or taken out.
    std::vector<std::string> addCalendars, removeCalendars;
    // --export OUT.ics: the data file's entries written as a calendar
    // instead of an import (export/Export.h).
    std::string exportFile;
    bool exportHolidays = false, exportCalendar = false;
    int remindDays = -1;  // none
    // File names are the arguments' UTF-8 (on Windows, after
    // filesys::UseUtf8FileNames): FILE= of the settings file, code page 1250
    // like all of Tolvari's texts, is converted to match.
    bool utf8FileNames = false;
    // Minutes east of UTC of local time at a UTC time; empty: the C
    // library's local time.
    std::function<int(long long utc)> localOffset;
};

// The options from the arguments after the program's name. False, with the
// message, for a command line that cannot be run.
bool ParseImportArgs(const std::vector<std::string>& args, ImportOptions& options, std::string& error);
std::string ImportUsage(const std::string& program);

// Shows one line (UTF-8, no line end) to the user; errors go apart.
using ImportPrint = std::function<void(const std::string& line, bool error)>;

// The data file: --data, else FILE= of the settings file in the current
// folder, else the default name; its name as the file functions take it
// and as the user knows it.
std::string DataFileOf(const ImportOptions& options);

// Appends entries to a record list, each only once: an entry equal to a
// record (same day, month, year and name) counts as already there. Prints
// each added record as its data-file line and each skipped entry with why.
class ImportMerge {
public:
    explicit ImportMerge(RecordList& list);
    void Add(const ImportEntry& entry, const std::string& source, const ImportPrint& print);
    void Add(const std::vector<ImportEntry>& entries, const std::string& source, const ImportPrint& print);
    int Added() const { return m_counts.added; }
    struct Counts {
        int added = 0, already = 0, skipped = 0, oneOff = 0;
    };
    Counts Done() const { return m_counts; }
    // "2 added, 1 already there, 0 skipped", and the one-off appointments
    // passed over when there were any; since the given counts if any.
    std::string Summary() const;
    std::string Summary(const Counts& since) const;

private:
    RecordList& m_list;
    std::unordered_set<std::string> m_lines;
    Counts m_counts;
};

// The whole run: the data file read, every input merged, the file written
// once (safely) unless it is a dry run. Returns the exit code: 0 done, 1 an
// input or the data file failed (the file then stays as it was). A data
// file that a running Tolvari uses, or that is not a data file, is not
// written. Memory that runs out is told as such (exit 1), nothing written.
int RunImport(const ImportOptions& options, const ImportPrint& print);
