// The words a calendar shows of the export, in the language of the window
// (0 English, otherwise Czech, as FormatDateLine has it), as UTF-8 text
// before the escapes of iCalendar.
#pragma once

#include <string>
#include <string_view>

// The three kinds of the data file, by their year codes.
enum class EventKind {
    Birthday,  // a year or 8888: a birthday or anniversary
    Holiday,   // 9999, and the holidays that move with Easter
    Calendar,  // 0000: a calendar entry, such as a name day
};

// The calendar's name after what goes out: the birthdays and anniversaries
// always, with holidays and with calendar entries if chosen.
std::string CalendarTitle(bool holidays, bool calendar, int uiLanguage);

// The category a calendar colours and filters the kind by.
std::string KindCategory(EventKind kind, int uiLanguage);

// The year of birth or wedding as a description says it: "Since 1950".
std::string SinceYear(std::string_view year, int uiLanguage);

// What a moving holiday is and where it comes from: "HOLIDAYS=CZ".
std::string MovesWithEaster(std::string_view country, int uiLanguage);

// The reminder's text, `days` days before the event on day.month (the last
// day of February for a birthday of 29.02): "Grandpa: birthday or
// anniversary in 7 days (7 December)".
std::string ReminderText(EventKind kind, const std::string& title, int days, int day, int month, int uiLanguage);
