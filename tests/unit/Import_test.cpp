#include "import/Import.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Rows.h"
#include "import/ContentLines.h"
#include "import/Cp1250.h"
#include "records/DataFile.h"

namespace {

using Lines = std::vector<std::string>;

std::string Join(const Lines& lines, const char* end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// The lines between BEGIN:kind and END:kind.
std::string Wrap(const char* kind, const Lines& lines)
{
    return Join({std::string("BEGIN:") + kind}) + Join(lines) + Join({std::string("END:") + kind});
}
const auto Card = [](const Lines& lines) { return Wrap("VCARD", lines); };
const auto Calendar = [](const Lines& lines) { return Wrap("VCALENDAR", lines); };

// Each entry as its data-file line (UTF-8), or "skipped: " and the reason.
Lines Shown(const std::vector<ImportEntry>& entries)
{
    Lines shown;
    for (const ImportEntry& e : entries) {
        char date[8];
        std::snprintf(date, sizeof date, "%02d.%02d", e.day % 100, e.month % 100);
        shown.push_back(e.skipped.empty() ? date + (" " + e.year + " " + e.name)
                                          : (e.oneOff ? "one-off: " : "skipped: ") + e.skipped);
    }
    return shown;
}

TEST(ImportDates, FormsExportersWrite)
{
    // clang-format off
    const struct {
        const char *value, *date;  // day.month.year, "" for no date
    } cases[] = {
        {"19500305", "5.3.1950"}, {"1950-03-05", "5.3.1950"}, {"1950-03-05T00:00:00Z", "5.3.1950"},
        {"--0305", "5.3.0"}, {"--03-05", "5.3.0"}, {"19870229", "29.2.1987"}, {"19870230", ""},
        {"1950-04-31", ""}, {"1950-00-10", ""}, {"1985", ""}, {"1950-0305", ""}, {"--03-5", ""}, {"", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        Date d;
        const bool ok = ParseDate(c.value, d);
        const std::string shown = std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
        EXPECT_EQ(ok ? shown : "", c.date) << c.value;
    }
}

TEST(ImportCp1250, ConvertsNamesAndMarksLosses)
{
    const struct {
        const char *utf8, *cp1250;
        bool lossy;
    } cases[] = {
        {"Dvo\xC5\x99\xC3\xA1kov\xC3\xA1 \xC5\xA0\xC5\xBD\xC5\xAE", "Dvo\xF8\xE1kov\xE1 \x8A\x8E\xD9", false},
        {"\xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C", "\x80 \x84\x93", false},  // the euro and quotes
        {"\xE6\x97\xA5 \xF0\x9F\x8E\x82x", "? ?x", true},                   // CJK and an emoji: one "?" each
        {"a\xFF\x62\xC3", "a?b?", true},                                    // bytes that are not UTF-8
    };
    for (const auto& c : cases) {
        bool lossy = false;
        EXPECT_EQ(cp1250::FromUtf8(c.utf8, &lossy), c.cp1250) << c.utf8;
        EXPECT_EQ(lossy, c.lossy) << c.utf8;
    }
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const bool none = b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
        EXPECT_EQ(cp1250::FromUtf8(cp1250::ToUtf8(byte)), none ? "?" : byte) << b;
    }
}

// UTF-8 to UTF-16 bytes, low or high byte first.
std::string Utf16(const std::string& utf8, bool le)
{
    std::string out;
    const auto unit = [&](unsigned u) {
        out += static_cast<char>(le ? u & 0xFF : u >> 8);
        out += static_cast<char>(le ? u >> 8 : u & 0xFF);
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unsigned cp = n == 1 ? b : b & (0x3F >> (n - 1));
        for (size_t k = 1; k < n; ++k)
            cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (cp >= 0x10000)
            unit(0xD800 + ((cp - 0x10000) >> 10)), cp = 0xDC00 + (cp & 0x3FF);
        unit(cp);
    }
    return out;
}

TEST(ImportText, AnyLineEndEncodingAndPieceSize)
{
    const Lines lines = {"Exported by: Phone",
                         "BEGIN:VCARD",
                         "VERSION:3.0",
                         "FN:Ji\xC5\x99\xC3\xAD \xF0\x9F\x8E\x82",
                         "PHOTO;ENCODING=b:" + std::string(kMaxLine + 10, 'Q'),
                         " QQQQ",
                         "BDAY:1950-03",
                         " -05",
                         "END:VCARD"};
    const Lines expected = {"05.03 1950 Ji\xC5\x99\xC3\xAD \xF0\x9F\x8E\x82"};
    for (const char* end : {"\n", "\r\n", "\r", "\r\r\n"}) {
        const std::string text = Join(lines, end);
        for (const std::string& bytes :
             {text, "\xEF\xBB\xBF" + text.substr(text.find("BEGIN")), "\xFF\xFE" + Utf16(text, true),
              "\xFE\xFF" + Utf16(text, false), Utf16(text, true)}) {
            for (size_t piece : {1, 7, 65536}) {
                TextSource source(bytes, piece);
                std::vector<ImportEntry> entries;
                ReadInput(source, ReadContext(), [&](const ImportEntry& e) { entries.push_back(e); });
                EXPECT_EQ(Shown(entries), expected)
                    << bytes.size() << " bytes, end " << end[0] + 0 << end[1] + 0 << ", by " << piece;
            }
        }
    }
}

TEST(ImportVCard, BirthdaysAndAnniversaries)
{
    const struct {
        const char* what;
        std::string text;
        Lines expected;
    } cases[] = {
        {"quoted-printable soft breaks (the blank after one kept); 2.1 folds keep their blank",
         Card({"FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jan=", " =C5=A0ko=", "da=3D", "BDAY:19500305"}) +
             Card({"VERSION:2.1", "N:Nov", " ak;Jan", "BDAY:19500306"}) + Card({"N:Nov", " ak;Jan", "BDAY:19500307"}),
         {"05.03 1950 Jan \xC5\xA0koda=", "06.03 1950 Jan Nov ak", "07.03 1950 Jan Novak"}},
        {"charsets: ISO-8859-2, windows-1252 (quoted-printable), ISO-8859-1, windows-1250",
         Card({"FN;CHARSET=ISO-8859-2:\xA9koda \xBE", "BDAY:--0101"}) +
             Card({"FN;CHARSET=windows-1252;ENCODING=QUOTED-PRINTABLE:=8Aa=9A=80", "BDAY:--0102"}) +
             Card({"FN;CHARSET=ISO-8859-1:S\xF8ren", "BDAY:--0103"}) +
             Card({"FN;CHARSET=windows-1250:\x8A\xE8", "BDAY:--0104"}),
         {"01.01 8888 \xC5\xA0koda \xC5\xBE",
          "02.01 8888 \xC5\xA0"
          "a\xC5\xA1\xE2\x82\xAC",
          "03.01 8888 S\xC3\xB8ren", "04.01 8888 \xC5\xA0\xC4\x8D"}},
        {"3.0: escapes, folded line",
         Card({"FN:Nov\\,\\;\\\\k\\nJan", " a", "BDAY:1950-03-05T00:00:00Z"}),
         {"05.03 1950 Nov,;\\k Jana"}},
        {"N without FN: prefix given additional family suffix",
         Card({"N:Smith\\, Sr.;John;Paul,Peter;Dr.;Jr.", "BDAY:--0305"}),
         {"05.03 8888 Dr. John Paul Peter Smith, Sr. Jr."}},
        {"anniversary properties get the suffix",
         Card({"FN:Eva", "ANNIVERSARY:19960214", "X-ANNIVERSARY:19960215", "X-EVOLUTION-ANNIVERSARY:1996-02-16",
               "X-MS-ANNIVERSARY:19960217", "X-KADDRESSBOOK-X-Anniversary:1996-02-18"}),
         {"14.02 1996 Eva - anniversary", "15.02 1996 Eva - anniversary", "16.02 1996 Eva - anniversary",
          "17.02 1996 Eva - anniversary", "18.02 1996 Eva - anniversary"}},
        {"Android's events: anniversary, other, one the user named, the birthday",
         Card({"FN:Eva", "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;1996-02-14;1;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;2001-01-01;2;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;--12-24;0;Name day;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;1970-05-06;3;;;;;;;;;;;;;",
               "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Evi;1;;;;;;;;;;;;;"}),
         {"14.02 1996 Eva - anniversary", "01.01 2001 Eva - other", "24.12 8888 Eva - Name day", "06.05 1970 Eva"}},
        {"Apple: labelled dates in groups, year left out",
         Card({"FN:Eva", "item1.X-ABDATE:1996-02-14", "item2.X-ABDATE:2001-01-01", "item2.X-ABLabel:Name day",
               "ITEM1.X-ABLABEL:_$!<Anniversary>!$_", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-11"}),
         {"14.02 1996 Eva - anniversary", "01.01 2001 Eva - Name day", "11.12 8888 Eva"}},
        {"4.0: VALUE=date and VALUE=text",
         Card({"VERSION:4.0", "FN:Leap", "BDAY;VALUE=date;ALTID=1:19880229", "BDAY;ALTID=1;VALUE=text:leap day",
               "ANNIVERSARY;VALUE=text:circa 2000"}),
         {"29.02 1988 Leap", "skipped: ANNIVERSARY is text, not a date: circa 2000"}},
        {"not a date, no name, years that are codes",
         Card({"FN:A", "BDAY:1985", "BDAY:00000305", "BDAY:99990305"}) + Card({"BDAY:19500305"}),
         {"skipped: BDAY is not a date of day and month: 1985", "05.03 8888 A", "05.03 8888 A",
          "skipped: a card without a name (FN or N)"}},
        {"text before the first card, an agent's card inside a card, a card without END:VCARD",
         Join({"Note: exported contacts", "BEGIN:VCARD", "FN:A", "AGENT:", "BEGIN:VCARD", "FN:B", "BDAY:20000101",
               "END:VCARD", "BDAY:19000102", "END:VCARD", "BEGIN:VCARD", "FN:C", "END:VCARD", "BEGIN:VCARD", "FN:D",
               "BDAY:19000103", "BEGIN:VCARD", "FN:E", "BDAY:19000104"}),
         {"02.01 1900 A", "skipped: a card without END:VCARD (the file may be cut short)",
          "skipped: a card without END:VCARD (the file may be cut short)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadEntries(c.text)), c.expected) << c.what;
}

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
         Calendar({"BEGIN:VTIMEZONE",
                   "TZID:America/New_York",
                   "BEGIN:STANDARD",
                   "DTSTART:19701101T020000",
                   "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU",
                   "TZOFFSETTO:-0500",
                   "END:STANDARD",
                   "BEGIN:DAYLIGHT",
                   "DTSTART:19700308T020000",
                   "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU",
                   "TZOFFSETTO:-0400",
                   "END:DAYLIGHT",
                   "END:VTIMEZONE",
                   "BEGIN:VEVENT",
                   "SUMMARY:New\\, Year",
                   "  Day",
                   "DTSTART:19991231T233000Z",
                   "RRULE:FREQ=YEARLY;INTERVAL=1;BYMONTH=1;BYMONTHDAY=1",
                   "BEGIN:VALARM",
                   "SUMMARY:Alarm",
                   "X-KIND:birthday",
                   "END:VALARM",
                   "END:VEVENT",
                   yearly("Summer", ";TZID=America/New_York:20000701T183000"),
                   yearly("Winter", ";TZID=America/New_York:20000101T183000"),
                   yearly("Elsewhere", ";TZID=Europe/Prague:20000101T233000")}),
         {"01.01 9999 New, Year Day", "01.07 9999 Summer", "02.01 9999 Winter", "01.01 9999 Elsewhere"}},
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
                   yearly("Leap", ":19880229", {"RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"}),
                   event({"SUMMARY:Josef", "DTSTART:20000319", "X-TOLVARI-YEAR:0000"})}),
         {"05.05 9999 Split", "02.01 9999 Until", "04.01 9999 Monthly", "29.02 9999 Leap", "19.03 0000 Josef",
          "skipped: the series ended in 2002", "skipped: the series ended in 2026"}},
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
         {"05.03 9999 Jan", "06.03 9999 Ann", "07.03 9999 Bob", "skipped: falls on other dates in other years",
          "01.01 9999 New Year", "one-off: does not repeat"}},
        {"other events are skipped, one-off appointments only counted",
         Calendar({event({"SUMMARY:Dentist", "DTSTART:20260302T090000"}),
                   event({"SUMMARY:Weekly", "DTSTART:20260302", "RRULE:FREQ=WEEKLY"}),
                   event({"SUMMARY:Mothers day", "DTSTART:20000514", "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU"}),
                   event({"SUMMARY:Feb end", "DTSTART:20230228", "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"}),
                   event({"SUMMARY:No start", "RRULE:FREQ=YEARLY"}), event({"DTSTART:20000514", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:x", "DTSTART:--0514", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:Gone", "DTSTART:20000516", "RRULE:FREQ=YEARLY", "STATUS:CANCELLED"}),
                   event({"SUMMARY:Old phone", "DTSTART:20000515T000000", "RRULE:YM1 5 #0"}),
                   event({"SUMMARY:Old, ended", "DTSTART:20000517T000000", "RRULE:YD1 #3"})}),
         {"one-off: does not repeat", "one-off: does not repeat every year",
          "skipped: does not repeat on the same date every year (RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU)",
          "skipped: does not repeat on the same date every year (RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1)",
          "one-off: an event without a start date", "skipped: an event without a SUMMARY",
          "skipped: DTSTART is not a date: --0514", "one-off: cancelled", "15.05 9999 Old phone",
          "skipped: the series ended in 2002"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadEntries(c.text, context)), c.expected) << c.what;
}

TEST(ImportMerge, AddsEachRecordOnceAndReportsIt)
{
    RecordList list = ListOf({{"05", "03", "1950", "Grandpa"}, {"19", "03", "0000", "Josef"}});
    const auto entry = [](int day, int month, const char* year, const char* name, const char* skipped = "",
                          bool oneOff = false) { return ImportEntry{name, day, month, year, skipped, oneOff, {}}; };
    Lines printed;
    ImportMerge merge(list);
    merge.Add({entry(5, 3, "1950", "Grandpa"), entry(5, 3, "8888", "Grandpa"), entry(1, 2, "8888", "", "why"),
               entry(7, 11, "1990", " Ji\xC5\x99\xC3\xAD\n\xE6\x97\xA5 "), entry(19, 3, "0000", "Josef"),
               entry(5, 3, "8888", "Grandpa"), entry(1, 1, "9999", "Dentist", "does not repeat", true)},
              "a.vcf", [&](const std::string& line, bool) { printed.push_back(line); });
    EXPECT_EQ(RowsOf(list), (Rows{{"05", "03", "1950", "Grandpa"},
                                  {"19", "03", "0000", "Josef"},
                                  {"05", "03", "8888", "Grandpa"},
                                  {"07", "11", "1990", "Ji\xF8\xED ?"}}));
    EXPECT_EQ(printed, (Lines{"05.03 8888 Grandpa", "skipped in a.vcf: why", "07.11 1990 Ji\xC5\x99\xC3\xAD ?",
                              "  (a character that code page 1250 cannot hold became \"?\")"}));
    EXPECT_EQ(merge.Summary(), "2 added, 3 already there, 1 skipped, 1 appointments passed over (not yearly)");
}

TEST(ImportRun, FindsTheDataFileAndWritesItOnlyWhenAllIsRead)
{
    const std::string kData = "[***KALENDAR***]\n05.03 1950 Grandpa\n";
    const std::string kCard = Card({"FN:Eva", "BDAY:19881224"});
    const std::string kAfter =
        FormatDataFile(ListOf({{"05", "03", "1950", "Grandpa"}, {"24", "12", "1988", "Eva"}}), 0);
    const struct {
        const char* what;
        Lines args;
        std::string ini;  // none if empty
        int code;
        std::string tolvariDat, otherDat;  // afterwards
    } cases[] = {
        {"no settings file: Tolvari.dat", {"a.vcf"}, "", 0, kAfter, kData},
        {"FILE= of the settings file", {"a.vcf"}, "FILE=other.dat\r\n", 0, kData, kAfter},
        {"an input missing", {"a.vcf", "missing.vcf"}, "", 1, kData, kData},
        {"no data file", {"--data", "missing.dat", "a.vcf"}, "", 1, kData, kData},
        {"a data file that is not one", {"--data", "a.vcf", "a.vcf"}, "", 1, kData, kData},
        {"a data file of CR line ends", {"--data", "cr.dat", "a.vcf"}, "", 1, kData, kData},
        {"an input that is no vCard or calendar", {"a.vcf", "b.txt"}, "", 1, kData, kData},
        {"a calendar without events", {"a.vcf", "c.ics"}, "", 1, kData, kData},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        WriteBytes("Tolvari.dat", kData);
        WriteBytes("other.dat", kData);
        WriteBytes("a.vcf", kCard);
        WriteBytes("cr.dat", "[***CALENDAR***]\r19.03 0000 Josef\r");
        WriteBytes("b.txt", "BEGIN:VCARDS\n");
        WriteBytes("c.ics", "Calendar\rBEGIN:VCALENDAR\rBEGIN:VTODO\rEND:VTODO\rEND:VCALENDAR\r");
        if (!c.ini.empty())
            WriteBytes("Tolvari.ini", c.ini);
        ImportOptions options;
        std::string error;
        ASSERT_TRUE(ParseImportArgs(c.args, options, error)) << c.what;
        Lines printed;
        const auto print = [&](const std::string& line, bool) { printed.push_back(line); };
        EXPECT_EQ(RunImport(options, print), c.code) << c.what;
        EXPECT_EQ(ReadBytes("Tolvari.dat"), c.tolvariDat) << c.what;
        EXPECT_EQ(ReadBytes("other.dat"), c.otherDat) << c.what;
        EXPECT_EQ(printed.back(), c.code ? printed.back() : "1 added, 0 already there, 0 skipped") << c.what;
        if (c.code == 0) {
            EXPECT_EQ(printed.at(1), "a.vcf: 1 card read: 1 added, 0 already there, 0 skipped") << c.what;
        }
        const auto files = std::distance(std::filesystem::directory_iterator(dir.path), {});
        EXPECT_EQ(files, c.ini.empty() ? 6 : 7) << c.what;  // no temporary file left
        std::filesystem::current_path(home);
    }
}

}  // namespace
