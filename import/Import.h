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
    // --export OUT.ics: the data file's entries written as a calendar
    // instead of an import (export/Export.h).
    std::string exportFile;
    bool exportHolidays = false, exportCalendar = false;
    int remindDays = -1;  // none
    // Arguments are UTF-8 everywhere; the Windows file functions take code
    // page 1250 names (records/FileSystem.h).
    bool cp1250Paths = false;
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

// A file name of the command line as the file functions take it; false,
// with the message, if it cannot be one.
bool FilePathOf(const ImportOptions& options, const std::string& arg, std::string& path, const ImportPrint& print);
// The data file: --data, else FILE= of the settings file in the current
// folder, else the default name. Shown is its name as the user knows it.
bool FindDataFile(const ImportOptions& options, std::string& path, std::string& shown, const ImportPrint& print);

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
// input or the data file failed (the file then stays as it was).
int RunImport(const ImportOptions& options, const ImportPrint& print);
