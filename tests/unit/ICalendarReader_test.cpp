// The iCalendar reader through ReadInput: events, zones, series, kinds.
#include <gtest/gtest.h>

#include "Entries.h"

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
    context.localOffset = [](long long) { return 60; };
    const std::vector<ReadCase> cases = {
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
         {"24.12 8888 Eve", "12.06 9999 Queen's Birthday", "13.06 8888 Mum", "25.12 9999 Christmas"}},
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
                   event({"UID:n3", "SUMMARY:New Year", "DTSTART;VALUE=DATE:20280101"}),
                   event({"UID:t1", "SUMMARY:Trip", "DTSTART;VALUE=DATE:20260101"})}),
         {"05.03 9999 Jan", "06.03 9999 Ann", "07.03 9999 Bob", "skipped 45: falls on other dates in other years",
          "01.01 9999 New Year", "one-off 70: does not repeat"}},
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
    ExpectRead(cases, context);
}

// How exporters write what repeats every year, each with the program and a
// file that shows it (tests/fuzz/corpus/import/SOURCES.md names the files).
TEST(ImportICalendar, ExportersWays)
{
    const auto event = [](const char* summary, const char* start, Lines more = {}) {
        more.insert(more.begin(), {std::string("SUMMARY:") + summary, std::string("DTSTART;VALUE=DATE:") + start});
        return Wrap("VEVENT", more);
    };
    const auto days = [&](const char* summary, std::initializer_list<const char*> starts) {
        std::string text;
        for (const char* start : starts)
            text += event(summary, start);
        return text;
    };
    const std::vector<ReadCase> cases = {
        {"holiday calendars of one event a year (Thunderbird's Hungarian and Romanian, its three-year ones): "
         "Easter Monday on 18 April in 2022 and 2033, Orthodox Easter; the same day in three years, in two",
         Calendar({days("H\xC3\xBAsv\xC3\xA9t h\xC3\xA9tf\xC5\x91", {"20220418", "20230410", "20330418"}),
                   days("Pa\xC5\x9Ftele", {"20210502", "20220424", "20230416"}),
                   days("\xC3\x9Aj\xC3\xA9v ", {"20250101", "20260101", "20270101"}),
                   days("Anul Nou", {"20260101", "20260102", "20270101", "20270102", "20280101", "20280102"}),
                   days("Kar\xC3\xA1"
                        "csony",
                        {"20251225", "20261225"}),
                   days("Trip", {"20240701", "20250701", "20260815"})}),
         {"skipped 2: a feast that moves with Easter (1 day after Easter Sunday in every year listed)",
          "skipped 15: a feast that moves with Easter (Orthodox Easter Sunday in every year listed)",
          "01.01 9999 \xC3\x9Aj\xC3\xA9v", "01.01 9999 Anul Nou", "02.01 9999 Anul Nou",
          "skipped 66: listed in 2025 and 2026 only: too few years to tell that it repeats every year",
          "skipped 75: falls on other dates in other years"}},
        {"birthdays do not end (Google's contacts' birthdays exported: the years around the export; KDE's "
         "birthdays with their count; a birthday category); a holidays calendar keeps its holidays to its last "
         "year (Thunderbird's Austrian: all to 2025), not one that ended before (its Slovenian 2 January)",
         Calendar({Wrap("VEVENT", {"UID:g", "SUMMARY:Anna's birthday", "RECURRENCE-ID;VALUE=DATE:20120312",
                                   "DTSTART;VALUE=DATE:20120312"}),
                   Wrap("VEVENT", {"UID:g", "SUMMARY:Anna's birthday", "RECURRENCE-ID;VALUE=DATE:20130312",
                                   "DTSTART;VALUE=DATE:20130312"}),
                   event("Petr's birthday", "19800105", {"RRULE:FREQ=YEARLY;COUNT=3", "X-KDE-KABC-BIRTHDAY:YES"}),
                   event("Eva", "20000106", {"RRULE:FREQ=YEARLY;UNTIL=20141231", "CATEGORIES:Birthday"})}) +
             Calendar({"X-WR-CALNAME:Feiertage", event("Neujahr", "20100101", {"RRULE:FREQ=YEARLY;COUNT=16"}),
                       event("2. Januar", "20100102", {"RRULE:FREQ=YEARLY;UNTIL=20110102"})}),
         {"05.01 1980 Petr", "06.01 8888 Eva", "12.03 8888 Anna", "01.01 9999 Neujahr",
          "skipped 39: the series ended in 2011"}},
        {"a holiday category before a word of the title (Thunderbird's Slovak Sviatok, a Czech svátek)",
         Calendar({event("V\xC3\xBDro\xC4\x8Die SNP", "20000829", {"RRULE:FREQ=YEARLY", "CATEGORIES:Sviatok"}),
                   event("V\xC3\xBDro\xC4\x8D\xC3\xAD", "20000928",
                         {"RRULE:FREQ=YEARLY", "CATEGORIES:St\xC3\xA1tn\xC3\xAD sv\xC3\xA1tek"})}),
         {"29.08 9999 V\xC3\xBDro\xC4\x8Die SNP", "28.09 9999 V\xC3\xBDro\xC4\x8D\xC3\xAD"}},
        {"birthday calendars' titles become the person: KDE's in English, Czech, German, Polish, Hungarian, "
         "Slovak, Slovenian; Evolution's; Nextcloud's with its year, its 29 February, its date of death",
         Calendar(
             {event("Anna's birthday", "20000301", {"RRULE:FREQ=YEARLY"}),
              event("Narozeniny 'Anna'", "20000302", {"RRULE:FREQ=YEARLY"}),
              event("Anna (Geburtstag)", "20000303", {"RRULE:FREQ=YEARLY"}),
              event("Urodziny Anna", "20000304", {"RRULE:FREQ=YEARLY"}),
              event("Anna sz\xC3\xBC"
                    "let\xC3\xA9snapja",
                    "20000305", {"RRULE:FREQ=YEARLY"}),
              event("Anna narodeniny", "20000306", {"RRULE:FREQ=YEARLY"}),
              event("Anna ima rojstni dan", "20000307", {"RRULE:FREQ=YEARLY"}),
              event("V\xC3\xBDro\xC4\x8D\xC3\xAD osoby 'Eva'", "20000308", {"RRULE:FREQ=YEARLY"}),
              event("Birthday: Anna", "20000309", {"RRULE:FREQ=YEARLY"}),
              event("\xF0\x9F\x8E\x82 Anna Nov\xC3\xA1kov\xC3\xA1 (1985)", "19850310",
                    {"RRULE:FREQ=YEARLY", "X-NEXTCLOUD-BC-FIELD-TYPE:BDAY", "X-NEXTCLOUD-BC-YEAR:1985"}),
              event("Leo *", "19720229", {"RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"}),
              event("Lea's birthday", "19880229", {"RRULE:FREQ=YEARLY;BYYEARDAY=60", "X-KDE-KABC-BIRTHDAY:YES"}),
              event("Eva (\xE2\x9A\xAD"
                    "1996)",
                    "19700311", {"RRULE:FREQ=YEARLY", "X-NEXTCLOUD-BC-YEAR:1996"}),
              event("Death of Jan (2001)", "19700312", {"RRULE:FREQ=YEARLY", "X-NEXTCLOUD-BC-FIELD-TYPE:DEATHDATE"})}),
         {"01.03 8888 Anna", "02.03 8888 Anna", "03.03 8888 Anna", "04.03 8888 Anna", "05.03 8888 Anna",
          "06.03 8888 Anna", "07.03 8888 Anna", "08.03 8888 Eva - anniversary", "09.03 8888 Anna",
          "10.03 1985 Anna Nov\xC3\xA1kov\xC3\xA1", "29.02 8888 Leo", "29.02 1988 Lea", "11.03 1996 Eva - anniversary",
          "skipped 84: DEATHDATE is a date of death"}},
    };
    ExpectRead(cases);
}

}  // namespace
