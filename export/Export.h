// The data file's entries written out as an iCalendar file (RFC 5545) that
// phone, web and desktop calendars import or subscribe to: one yearly
// all-day event per record, with a reminder days ahead when asked, and the
// holidays that move with Easter as dated events.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "contentlines/Print.h"
#include "records/RecordList.h"

struct HolidayCountry;

// What goes out besides the birthdays and anniversaries, and how it is worded.
struct ExportChoice {
    bool holidays = false;                    // 9999, and the moving holidays of country
    bool calendar = false;                    // 0000
    int remindDays = -1;                      // a reminder that many days before at 09:00; <0 none
    int uiLanguage = 0;                       // the words, as the window's (export/ExportWords.h)
    const HolidayCountry* country = nullptr;  // HOLIDAYS= of the settings; none if null
    int firstYear = 0;                        // the moving holidays from this year on
};

// The moving holidays go out for this many years: the first and ten more.
constexpr int kMovingHolidayYears = 11;

struct ExportCounts {
    int exported = 0, moving = 0, skipped = 0, holidaysLeft = 0, calendarLeft = 0;
};

// The year in which the events of the year codes start: a recent one, so
// that no calendar shows an age, fixed, so that the output stays the same;
// a leap year, so that 29 February has its day.
constexpr int kCodeStartYear = 2024;

// Takes the calendar's text piece by piece, in order; false stops it.
using ExportWrite = std::function<bool(std::string_view text)>;

// The calendar's text (UTF-8, CR LF, folded) of the records, DTSTAMP being
// stamp ("YYYYMMDDTHHMMSSZ"); nothing else depends on the time. It goes to
// write in pieces of some 64 KB, so that it is never held whole; nothing at
// all when no event goes out (counts.exported is 0). Records that cannot be
// an event are reported through print and counted as skipped. False if a
// write failed.
bool FormatICalendar(const RecordList& list, const ExportChoice& choice, const std::string& stamp,
                     const ImportPrint& print, ExportCounts& counts, const ExportWrite& write);
