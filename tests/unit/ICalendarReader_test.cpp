// The iCalendar reader through ReadInput: events, zones, series, kinds.
#include <gtest/gtest.h>

#include "Entries.h"
#include "import/ReadInput.h"

namespace {

TEST(ImportICalendar, YearlyEvents)
{
    const auto event = [](const Lines& lines) { return Wrap("VEVENT", lines); };
    const auto yearly = [&](const char* summary, const char* start, Lines more = {}) {
        if (Join(more).find("RRULE") == std::string::npos)
            more.push_back("RRULE:FREQ=YEARLY");
        more.insert(more.end(), {std::string("SUMMARY:") + summary, std::string("DTSTART") + start});
        return event(more);
    };
    ReadContext context;
    context.today = Date{7, 12, 2026};
    context.localOffset = [](long long) { return 60; };
    const struct {
        const char* what;
        std::string text;
        Lines expected;
    } cases[] = {
        {"a yearly event is a holiday; UTC and zone times to the local date; alarms and folds do not count",
         Calendar({"BEGIN:VTIMEZONE", "TZID:America/New_York", "BEGIN:STANDARD", "DTSTART:19701101T020000",
                   "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU", "TZOFFSETTO:-0500", "END:STANDARD", "BEGIN:DAYLIGHT",
                   "DTSTART:19700308T020000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU", "TZOFFSETTO:-0400",
                   "END:DAYLIGHT", "END:VTIMEZONE",
                   // East of UTC, summer time from the last Sunday of March to the last of October.
                   "BEGIN:VTIMEZONE", "TZID:Europe/Prague", "BEGIN:DAYLIGHT", "DTSTART:19810329T020000",
                   "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "TZOFFSETTO:+0200", "END:DAYLIGHT", "BEGIN:STANDARD",
                   "DTSTART:19961027T030000", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", "TZOFFSETTO:+0100",
                   "END:STANDARD", "END:VTIMEZONE", "BEGIN:VEVENT", "SUMMARY:New\\, Year", "  Day",
                   "DTSTART:19991231T233000Z", "RRULE:FREQ=YEARLY;INTERVAL=1;BYMONTH=1;BYMONTHDAY=1", "BEGIN:VALARM",
                   "SUMMARY:Alarm", "X-KIND:birthday", "END:VALARM", "END:VEVENT",
                   yearly("Summer", ";TZID=America/New_York:20000701T183000"),
                   yearly("Winter", ";TZID=America/New_York:20000101T183000"),
                   yearly("Elsewhere", ";TZID=Asia/Nowhere:20000101T233000"),
                   yearly("Last winter night", ";TZID=Europe/Prague:20000326T003000"),
                   yearly("First summer night", ";TZID=Europe/Prague:20000327T003000"),
                   yearly("Last summer night", ";TZID=Europe/Prague:20001029T003000"),
                   yearly("Winter again", ";TZID=Europe/Prague:20001030T003000")}),
         {"01.01 9999 New, Year Day", "01.07 9999 Summer", "02.01 9999 Winter", "01.01 9999 Elsewhere",
          "26.03 9999 Last winter night", "26.03 9999 First summer night", "28.10 9999 Last summer night",
          "30.10 9999 Winter again"}},
        {"birthdays by category, word of the title or Apple's mark; the year only when plainly before CREATED",
         Calendar({yearly("Mum", ":19601002", {"CATEGORIES:Family,Birthday", "CREATED:20100101T000000Z"}),
                   yearly("Wedding", ";VALUE=DATE:19960214", {"X-APPLE-SPECIAL-DAY:ANNIVERSARY"}),
                   yearly("Eva", ":19880229", {"CATEGORIES:Narozeniny", "CREATED:19890101T000000Z"}),
                   yearly("SZ\xC3\x9CLET\xC3\x89SNAP Anna", ":20100301", {"CREATED:20100101"}),
                   yearly("Queen's Birthday", ":20000612", {"CATEGORIES:Holidays"}),
                   yearly("Party", ":20000613", {"X-ALT-DESC;FMTTYPE=text/html:<p>birthday cake</p>"})}),
         {"02.10 1960 Mum", "14.02 8888 Wedding", "29.02 8888 Eva", "01.03 8888 SZ\xC3\x9CLET\xC3\x89SNAP Anna",
          "12.06 9999 Queen's Birthday", "13.06 9999 Party"}},
        {"a birthday calendar's name, a holiday calendar's name",
         Calendar({"X-WR-CALNAME:Birthdays", yearly("Eve", ":20001224")}) +
             Calendar({"X-WR-CALNAME:UK Holidays", yearly("Queen's Birthday", ":20000612")}) +
             Calendar({"X-WR-CALNAME:Birthdays and holidays", yearly("Mum's birthday", ":20000613"),
                       yearly("Christmas", ":20001225")}),
         {"24.12 8888 Eve", "12.06 9999 Queen's Birthday", "13.06 8888 Mum's birthday", "25.12 9999 Christmas"}},
        {"ended series, one split in two, excluded last dates, twelve months, the program's own export",
         Calendar({"PRODID:-//Tolvari//Tolvari 2.5.2//EN", yearly("Three", ":20000101", {"RRULE:FREQ=YEARLY;COUNT=3"}),
                   yearly("Split", ":19900505", {"RRULE:FREQ=YEARLY;UNTIL=20190101T000000Z"}),
                   yearly("Split", ":20190505"), yearly("Until", ":20000102", {"RRULE:FREQ=YEARLY;UNTIL=20301231"}),
                   yearly("Excluded", ":20000103", {"RRULE:FREQ=YEARLY;COUNT=28", "EXDATE:20270103"}),
                   yearly("Monthly", ":20000104", {"RRULE:FREQ=MONTHLY;INTERVAL=12"}),
                   event({"SUMMARY:Josef", "DTSTART:20000319", "X-TOLVARI-YEAR:0000"})}),
         {"05.05 9999 Split", "02.01 9999 Until", "04.01 9999 Monthly", "19.03 0000 Josef",
          "skipped 3: the series ended in 2002", "skipped 27: the series ended in 2026"}},
        {"one event a year: overrides of a series, overrides alone, dates listed, whole days; one that moves",
         Calendar({yearly("Jan", ":20200305", {"UID:g1"}),
                   event({"UID:g1", "SUMMARY:Jan", "RECURRENCE-ID:20210305", "DTSTART:20210305"}),
                   event({"UID:g2", "SUMMARY:Ann", "RECURRENCE-ID:20250306", "DTSTART:20250306"}),
                   event({"UID:g2", "SUMMARY:Ann", "RECURRENCE-ID:20260306", "DTSTART:20260306"}),
                   event({"UID:g2", "SUMMARY:Ann", "RECURRENCE-ID:20270306", "DTSTART:20270306"}),
                   event({"UID:g3", "SUMMARY:Bob", "DTSTART:20240307", "RDATE:20250307,20260307", "RDATE:20270307"}),
                   event({"UID:g4", "SUMMARY:Easter", "DTSTART:20250420", "RDATE:20260405"}),
                   event({"UID:n1", "SUMMARY:New Year", "DTSTART;VALUE=DATE:20260101"}),
                   event({"UID:n2", "SUMMARY:New Year", "DTSTART;VALUE=DATE:20270101"}),
                   event({"UID:t1", "SUMMARY:Trip", "DTSTART;VALUE=DATE:20260101"})}),
         {"05.03 9999 Jan", "06.03 9999 Ann", "07.03 9999 Bob", "skipped 45: falls on other dates in other years",
          "01.01 9999 New Year", "one-off 64: does not repeat"}},
        {"other events are skipped, one-off appointments only counted",
         Calendar({event({"SUMMARY:Dentist", "DTSTART:20260302T090000"}),
                   event({"SUMMARY:Weekly", "DTSTART:20260302", "RRULE:FREQ=WEEKLY"}),
                   event({"SUMMARY:Mothers day", "DTSTART:20000514", "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU"}),
                   event({"SUMMARY:No start", "RRULE:FREQ=YEARLY"}), event({"DTSTART:20000514", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:x", "DTSTART:--0514", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:Gone", "DTSTART:20000516", "RRULE:FREQ=YEARLY", "STATUS:CANCELLED"}),
                   event({"SUMMARY:Old phone", "DTSTART:20000515T000000", "RRULE:YM1 5 #0"}),
                   event({"SUMMARY:Old, ended", "DTSTART:20000517T000000", "RRULE:YD1 #3"})}),
         {"one-off 2: does not repeat", "one-off 7: does not repeat every year",
          "skipped 13: does not repeat on the same date every year (RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU)",
          "one-off 19: an event without a start date", "skipped 24: an event without a SUMMARY",
          "skipped 29: DTSTART is not a date: --0514", "one-off 35: cancelled", "15.05 9999 Old phone",
          "skipped 48: the series ended in 2002"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadEntries(c.text, context)), c.expected) << c.what;
}

}  // namespace
