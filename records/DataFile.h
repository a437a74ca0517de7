// Reading and writing the data file: one record per line, "DD.MM YEAR NAME".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "records/RecordList.h"

// The parts of one data-file line, as views into it.
struct RecordFields {
    std::string_view day, month, year, name;
};

// Splits one line (line end removed) by the reading rules: no "." or a
// leading "[" means no record; the day ends at the first "."; month and year
// each end at the next blank; the name is the rest, blanks included.
bool ParseRecordLine(std::string_view line, RecordFields& fields);

// The first line of a file's bytes (numbered from 1) that is neither blank
// (blanks and tabs only), a record nor a header ("[" first): a line a save
// would drop. A line holding a CR is one too: a file with line ends of CR
// alone reads as one line, and a save would lose its records. False if
// every line is one of the three.
bool FindForeignLine(std::string_view bytes, size_t& number, std::string_view& line);

// Appends the records of a whole file's bytes to the columns and returns how
// many were added. The columns keep slices of bytes instead of copies. Lines
// end at LF, with a CR before it dropped; every other byte, NUL and Ctrl-Z
// included, is an ordinary character of its field.
int AppendRecords(RecordList& list, std::shared_ptr<const std::string> bytes);

// A data file of this size or more is not read: the list keeps 31-bit
// offsets into its text, and a 32-bit process could not hold it anyway.
constexpr unsigned long long kMaxDataFileBytes = 1ull << 31;

// Loads the data file: the count restarts at 0 and the records are appended
// to the columns; CurrentRecord becomes 1 for a non-empty list, else 0. False
// if the file cannot be read or is too large (then *tooLarge is set, when
// given); the count and CurrentRecord are then 0. A file below the limit
// that does not fit the process's memory throws std::bad_alloc.
bool LoadDataFile(const std::string& path, RecordList& list, bool* tooLarge = nullptr);

// The complete bytes of a data file for the list, with CR LF line ends and
// the headers of the given language. Field bytes are written as they are.
std::string FormatDataFile(const RecordList& list, int uiLanguage);

// Writes the list to path so that either the new file is complete or the
// old one is untouched.
bool SaveDataFile(const std::string& path, const RecordList& list, int uiLanguage);

// The user-facing texts of the failures, in code page 1250. A file name is
// shown whole up to the longest path Windows commonly uses; a longer one has
// "..." for its middle. Its lines hold at most kMaxShownLine characters.
constexpr size_t kMaxShownFileName = 260;
constexpr size_t kMaxShownLine = 64;
std::string DataFileOpenError(const std::string& fileName, int uiLanguage);
std::string DataFileWriteError(const std::string& fileName, int uiLanguage);
std::string DataFileTooLargeError(const std::string& fileName, int uiLanguage);
std::string DataFileMemoryError(const std::string& fileName, int uiLanguage);
std::string DataFileSaveMemoryError(const std::string& fileName, int uiLanguage);
