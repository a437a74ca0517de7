// The import program's two runs, free of the platform; main and wmain only
// turn the command line and the output into UTF-8 lines.
#pragma once

#include <string>

#include "contentlines/Print.h"
#include "import/Merge.h"
#include "tool/Options.h"

// Exit codes: 0 done, 1 an error (nothing written), 2 a wrong command line,
// 4 done but the report could not be printed in full (standard output full
// or closed). Not 3: that is what a program that aborts gives on Windows.
constexpr int kExitReportLost = 4;

// The run's exit code once its report is out: a report lost after a run
// that went well is said (as an error) and changes the code.
inline int ExitCode(int code, bool reportPrinted, const ImportPrint& print) noexcept
{
    if (code != 0 || reportPrinted)
        return code;
    try {
        print("Error: the report could not be printed to standard output (full or closed); the run itself was done.",
              true);
    } catch (...) {
    }
    return kExitReportLost;
}

// What the program says when memory runs out before a run begins (taking
// its command line), exit code 1.
constexpr char kNoMemoryToStart[] = "Error: Not enough memory to start; nothing was imported or exported.";

// What a run says when memory runs out: before its file was written, the
// given message, that nothing was (exit code 1); after, that only the
// report is short (exit code 4). Nothing escapes, not even a failed print.
inline int MemoryRanOut(bool written, const char* unwritten, const ImportPrint& print) noexcept
{
    try {
        print(written ? "Error: Not enough memory to print the whole report; the run itself was done." : unwritten,
              true);
    } catch (...) {
    }
    return written ? kExitReportLost : 1;
}

// The import: the data file read, every input merged, the file written once
// (safely) unless it is a dry run. Returns the exit code: 0 done, 1 an input
// or the data file failed (the file then stays as it was). A data file that
// a running Tolvari uses, or that is not a data file, is not written. Memory
// that runs out is told as such (exit 1), nothing written.
int RunImport(const ImportOptions& options, const ImportPrint& print);

// --export: the data file read (found as the import finds it), the calendar
// written as it is made, all or nothing. Returns the exit code: 0 done, 1 the
// data file could not be read, nothing to export, memory ran out or the
// output could not be written (then it stays as it was), 2 the output is the
// data file itself.
int RunExport(const ImportOptions& options, const ImportPrint& print);

// "2 added, 1 already there, 0 skipped", and the one-off appointments
// passed over when there were any; since the given counts.
std::string ImportSummary(const ImportMerge::Counts& now, const ImportMerge::Counts& since = {});
