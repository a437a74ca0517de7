// What the import takes from contacts and calendar files: one entry per
// birthday, anniversary or yearly event, or the reason it cannot be one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ImportEntry {
    std::string name;  // UTF-8; may be empty when skipped
    int day = 0;
    int month = 0;
    std::string year;     // four digits, or "8888" / "9999"
    std::string skipped;  // the reason, if the entry cannot be a record
};

// The suffix that marks an anniversary taken from a contact.
constexpr char kAnniversarySuffix[] = " - anniversary";

// The four-digit year text; a date without a year (0), or a year that is a
// code of the data file, becomes "8888".
std::string BirthdayYear(int year);

// The birthdays and anniversaries of every card of a vCard file (2.1, 3.0,
// 4.0), in file order. Cards without one give no entry.
std::vector<ImportEntry> ReadVCards(std::string_view text);

// One entry per VEVENT of an iCalendar file; events that do not repeat on
// the same date every year are skipped.
std::vector<ImportEntry> ReadICalendar(std::string_view text);
