// The data file's entries written out as an iCalendar file (RFC 5545) that
// phone, web and desktop calendars import or subscribe to: one yearly
// all-day event per record, with a reminder days ahead when asked.
#pragma once

#include <string>

#include "contentlines/Print.h"
#include "records/RecordList.h"

// What goes out besides the birthdays and anniversaries.
struct ExportChoice {
    bool holidays = false;  // 9999
    bool calendar = false;  // 0000
    int remindDays = -1;    // a reminder that many days before at 09:00; <0 none
};

struct ExportCounts {
    int exported = 0, skipped = 0, holidaysLeft = 0, calendarLeft = 0;
};

// The year in which the events of the year codes start: a recent one, so
// that no calendar shows an age, fixed, so that the output stays the same;
// a leap year, so that 29 February has its day.
constexpr int kCodeStartYear = 2024;

// The calendar's text (UTF-8, CR LF, folded) of the records, DTSTAMP being
// stamp ("YYYYMMDDTHHMMSSZ"); nothing else depends on the time. Records that
// cannot be an event are reported through print and counted as skipped.
std::string FormatICalendar(const RecordList& list, const ExportChoice& choice, const std::string& stamp,
                            const ImportPrint& print, ExportCounts& counts);
