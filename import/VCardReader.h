// Contacts files: vCard 2.1, 3.0 and 4.0 as phones, mail programs and
// address books write them.
#pragma once

#include "contentlines/ContentLineReader.h"
#include "import/Entry.h"

// The birthdays and anniversaries of every card, in file order; cards
// without one give no entry; a year is kept only when it can be one by
// today. The reader stands after the first card's BEGIN line, which is on
// line `begin`.
int ReadVCardLines(ContentLineReader& reader, int begin, const Date& today, const EntrySink& sink);
