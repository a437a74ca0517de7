// --add-calendar and --remove-calendar: the lists of countries/ merged into
// the data file like any input, or taken out of it.
#pragma once

#include "contentlines/Print.h"
#include "import/Merge.h"
#include "records/RecordList.h"
#include "tool/Options.h"

// Takes the records equal to an entry of each --remove-calendar list out of
// the list, each printed; returns how many. Runs before the merge starts.
int RemoveCalendars(const ImportOptions& options, RecordList& list, const ImportPrint& print);

// Adds each --add-calendar list through the merge of list, with a line of
// counts for each, as for an input file. The name days added stand before
// the list's first record that is no name day.
void AddCalendars(const ImportOptions& options, RecordList& list, ImportMerge& merge, const ImportPrint& print);

// After the counts: for each country added, the HOLIDAYS= line that shows its
// holidays that move with Easter too, and whether another country's name days
// are still in the list.
void PrintCalendarNotes(const ImportOptions& options, const RecordList& list, const ImportPrint& print);
