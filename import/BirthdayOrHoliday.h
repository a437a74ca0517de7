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

// Whether the event is a birthday or anniversary: by its category, the
// calendar's name, an exporter's mark, else a word of its title; never in
// a holidays calendar or under a holiday category. A birthday series that
// stops goes on: it is still that person's birthday.
bool IsBirthday(const Event& event, const CalendarKind& calendar);

// The year of the record: "9999" for a holiday (not a birthday, as
// IsBirthday tells); for a birthday the year of
// its start when the event plainly began before it was entered (then the
// start is the day of birth, not the day of typing it in) or the exporter
// says so, else "8888". Years that cannot be a birth are no years
// (BirthdayYear).
std::string YearOf(const Event& event, const Date& start, bool birthday, const Date& today);

// The person a birthday calendar's title names, as address books and
// their calendars write it ("Anna's birthday", "Birthday: Anna",
// "🎂 Anna (1985)", "Narozeniny 'Anna'", "Anna születésnapja", ...), so that
// the entry has the name the same contact gives; with " - anniversary" for
// an anniversary, and the year when the title gives one. False for a title
// of no such form.
bool PersonOfTitle(const std::string& title, std::string& person, int& year);
