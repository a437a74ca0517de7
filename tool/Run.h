// The import program's two runs, free of the platform; main and wmain only
// turn the command line and the output into UTF-8 lines.
#pragma once

#include <string>

#include "contentlines/Print.h"
#include "import/Merge.h"
#include "tool/Options.h"

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
