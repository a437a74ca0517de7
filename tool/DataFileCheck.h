// Whether the import may read and write the data file: it must be a data
// file through and through, and no running Tolvari may hold it.
#pragma once

#include <string>

#include "contentlines/Print.h"
#include "records/RecordList.h"

// Reads the data file into list, if it is one: every line a record, a
// header or blank, so that writing it back keeps all it holds. Otherwise
// says why (with the first line that is none) and returns false.
bool ReadCheckedDataFile(const std::string& path, RecordList& list, const ImportPrint& print);

// A running Tolvari writes its own list over the file when its editor
// closes: true (and said) if one has it. A dry run writes nothing, so it
// only notes it and goes on.
bool RefusedWhileRunning(const std::string& path, bool dryRun, const ImportPrint& print);
