// Whether a yearly event is a birthday or anniversary (shown with its age)
// or a holiday: from the calendar's name, the event's categories, the marks
// some programs set, and the words of its title.
#pragma once

#include <string>

#include "contentlines/Dates.h"
#include "import/Event.h"

// Whether a text (UTF-8) speaks of a birthday or anniversary, or of a
// holiday, in English, German or a language of code page 1250.
bool SaysBirthday(const std::string& utf8);
bool SaysHoliday(const std::string& utf8);

// What the calendar's name says of all its events ("Birthdays and
// holidays" says neither: each event decides).
struct CalendarKind {
    bool birthdays = false, holidays = false;
};

// The year of the record: "9999" for a holiday; for a birthday the year of
// its start when the event plainly began before it was entered (then the
// start is the day of birth, not the day of typing it in), else "8888".
std::string YearOf(const Event& event, const Date& start, const CalendarKind& calendar);
