// The import program's command line: what to read or write, and where.
#pragma once

#include <functional>
#include <string>
#include <vector>

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
    // How long the import waits for another one writing the same data file.
    unsigned waitMs = 20000;
};

// The options from the arguments after the program's name. False, with the
// message, for a command line that cannot be run.
bool ParseImportArgs(const std::vector<std::string>& args, ImportOptions& options, std::string& error);
std::string ImportUsage(const std::string& program);
