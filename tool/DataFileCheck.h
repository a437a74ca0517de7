// Whether the import may read and write the data file, and the writing: it
// must be a data file through and through, no running Tolvari may hold it,
// and no other writer may change it between the read and the replace.
#pragma once

#include <string>

#include "contentlines/Print.h"
#include "records/FileSystem.h"
#include "records/RecordList.h"
#include "running/RunningMark.h"

// Reads the data file into list, if it is one: every line a record, a
// header or blank, so that writing it back keeps all it holds; read gets
// the state it was read in. Otherwise says why (with the first line that is
// none) and returns false.
bool ReadCheckedDataFile(const std::string& path, RecordList& list, filesys::FileSnapshot& read,
                         const ImportPrint& print);

// A running Tolvari writes its own list over the file when its editor
// closes: true (and said) if one has it. A dry run writes nothing, so it
// only notes it and goes on.
bool RefusedWhileRunning(const std::string& path, bool dryRun, const ImportPrint& print);

// Takes the writers' lock of the data file, waiting at most waitMs for
// another writer (saying so while it waits); false (and said) if that one
// goes on longer or the lock cannot be had.
bool LockedForImport(DataFileLock& lock, const std::string& path, unsigned waitMs, const ImportPrint& print);

// Replaces the data file with the list, all or nothing, if it is still the
// file that was read; false (and said why) otherwise.
bool WriteImported(const std::string& path, const RecordList& list, const filesys::FileSnapshot& read,
                   const ImportPrint& print);
