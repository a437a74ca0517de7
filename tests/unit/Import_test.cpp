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
        shown.push_back(e.skipped.empty() ? date + (" " + e.year + " " + e.name) : "skipped: " + e.skipped);
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

TEST(ImportVCard, BirthdaysAndAnniversaries)
{
    const struct {
        const char* what;
        std::string text;
        Lines expected;
    } cases[] = {
        {"2.1: quoted-printable, charset, soft line break",
         Card({"VERSION:2.1", "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Jan =C5=A0ko=", "da=3D", "BDAY:19500305"}),
         {"05.03 1950 Jan \xC5\xA0koda="}},
        {"3.0: escapes, folded line",
         Card({"FN:Nov\\,\\;\\\\k\\nJan", " a", "BDAY:1950-03-05T00:00:00Z"}),
         {"05.03 1950 Nov,;\\k Jana"}},
        {"N without FN: prefix given additional family suffix",
         Card({"N:Smith;John;Paul,Peter;Dr.;Jr.", "BDAY:--0305"}),
         {"05.03 8888 Dr. John Paul Peter Smith Jr."}},
        {"anniversary properties get the suffix",
         Card({"FN:Eva", "ANNIVERSARY:19960214", "X-ANNIVERSARY:19960215", "X-EVOLUTION-ANNIVERSARY:1996-02-16",
               "X-MS-ANNIVERSARY:19960217"}),
         {"14.02 1996 Eva - anniversary", "15.02 1996 Eva - anniversary", "16.02 1996 Eva - anniversary",
          "17.02 1996 Eva - anniversary"}},
        {"Apple: labelled dates in groups, year left out",
         Card({"FN:Eva", "item1.X-ABDATE:1996-02-14", "item2.X-ABDATE:2001-01-01", "item2.X-ABLabel:Name day",
               "ITEM1.X-ABLABEL:_$!<Anniversary>!$_", "BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-11"}),
         {"14.02 1996 Eva - anniversary",
          "skipped: a date labelled \"Name day\", neither a birthday nor an anniversary", "11.12 8888 Eva"}},
        {"4.0: VALUE=date and VALUE=text",
         Card({"VERSION:4.0", "FN:Leap", "BDAY;VALUE=date:19880229", "ANNIVERSARY;VALUE=text:circa 2000"}),
         {"29.02 1988 Leap", "skipped: ANNIVERSARY is text, not a date: circa 2000"}},
        {"not a date, no name, years that are codes",
         Card({"FN:A", "BDAY:1985", "BDAY:00000305", "BDAY:99990305"}) + Card({"BDAY:19500305"}),
         {"skipped: BDAY is not a date of day and month: 1985", "05.03 8888 A", "05.03 8888 A",
          "skipped: a card without a name (FN or N)"}},
        {"BOM, LF only, several cards, one without dates, a nested card",
         "\xEF\xBB\xBF" + Join({"BEGIN:VCARD", "FN:A", "BEGIN:VCARD", "FN:B", "BDAY:20000101", "END:VCARD",
                                "BDAY:19000102", "END:VCARD", "BEGIN:VCARD", "FN:C", "END:VCARD", "BEGIN:VCARD", "FN:D",
                                "BDAY:19000103", "END:VCARD"},
                               "\n"),
         {"02.01 1900 A", "03.01 1900 D"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadVCards(c.text)), c.expected) << c.what;
}

TEST(ImportICalendar, YearlyEvents)
{
    const auto event = [](const Lines& lines) { return Wrap("VEVENT", lines); };
    const struct {
        const char* what;
        std::string text;
        Lines expected;
    } cases[] = {
        {"a yearly event is a holiday; time zones, alarms and folds do not count",
         Calendar({"BEGIN:VTIMEZONE", "BEGIN:STANDARD", "DTSTART:19701025T030000", "RRULE:FREQ=YEARLY;BYMONTH=10",
                   "END:STANDARD", "END:VTIMEZONE", "BEGIN:VEVENT", "SUMMARY:New\\, Year", "  Day",
                   "DTSTART;TZID=Europe/Prague:20000101T090000", "RRULE:FREQ=YEARLY;INTERVAL=1;BYMONTH=1;BYMONTHDAY=1",
                   "BEGIN:VALARM", "SUMMARY:Alarm", "X-KIND:birthday", "END:VALARM", "END:VEVENT"}),
         {"01.01 9999 New, Year Day"}},
        {"categories or an X- property make a birthday",
         Calendar({event({"SUMMARY:Mum", "CATEGORIES:Family,Birthday", "DTSTART:19601002", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:Wedding", "X-APPLE-SPECIAL-DAY:ANNIVERSARY", "DTSTART;VALUE=DATE:19960214",
                          "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:Eva", "CATEGORIES:Narozeniny", "DTSTART:19880229", "RRULE:FREQ=YEARLY"})}),
         {"02.10 1960 Mum", "14.02 1996 Wedding", "29.02 1988 Eva"}},
        {"a birthday calendar's name",
         Calendar({"X-WR-CALNAME:Birthdays", event({"SUMMARY:Eve", "DTSTART:20001224", "RRULE:FREQ=YEARLY"})}),
         {"24.12 2000 Eve"}},
        {"other events are skipped",
         Calendar({event({"SUMMARY:Dentist", "DTSTART:20260302T090000"}),
                   event({"SUMMARY:Weekly", "DTSTART:20260302", "RRULE:FREQ=WEEKLY"}),
                   event({"SUMMARY:Mothers day", "DTSTART:20000514", "RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU"}),
                   event({"SUMMARY:No start", "RRULE:FREQ=YEARLY"}), event({"DTSTART:20000514", "RRULE:FREQ=YEARLY"}),
                   event({"SUMMARY:x", "DTSTART:--0514", "RRULE:FREQ=YEARLY"})}),
         {"skipped: does not repeat every year", "skipped: does not repeat every year",
          "skipped: does not repeat on the same date every year (RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU)",
          "skipped: an event without a start date", "skipped: an event without a SUMMARY",
          "skipped: DTSTART is not a date: --0514"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Shown(ReadICalendar(c.text)), c.expected) << c.what;
}

TEST(ImportMerge, AddsEachRecordOnceAndReportsIt)
{
    RecordList list = ListOf({{"05", "03", "1950", "Grandpa"}, {"19", "03", "0000", "Josef"}});
    const auto entry = [](int day, int month, const char* year, const char* name, const char* skipped = "") {
        return ImportEntry{name, day, month, year, skipped};
    };
    Lines printed;
    ImportMerge merge(list);
    merge.Add({entry(5, 3, "1950", "Grandpa"), entry(5, 3, "8888", "Grandpa"), entry(1, 2, "8888", "", "why"),
               entry(7, 11, "1990", " Ji\xC5\x99\xC3\xAD\n\xE6\x97\xA5 "), entry(19, 3, "0000", "Josef"),
               entry(5, 3, "8888", "Grandpa")},
              "a.vcf", [&](const std::string& line, bool) { printed.push_back(line); });
    EXPECT_EQ(RowsOf(list), (Rows{{"05", "03", "1950", "Grandpa"},
                                  {"19", "03", "0000", "Josef"},
                                  {"05", "03", "8888", "Grandpa"},
                                  {"07", "11", "1990", "Ji\xF8\xED ?"}}));
    EXPECT_EQ(printed, (Lines{"05.03 8888 Grandpa", "skipped in a.vcf: why", "07.11 1990 Ji\xC5\x99\xC3\xAD ?",
                              "  (a character that code page 1250 cannot hold became \"?\")"}));
    EXPECT_EQ(merge.Summary(), "2 added, 3 already there, 1 skipped");
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
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        WriteBytes("Tolvari.dat", kData);
        WriteBytes("other.dat", kData);
        WriteBytes("a.vcf", kCard);
        WriteBytes("cr.dat", "[***CALENDAR***]\r19.03 0000 Josef\r");
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
        const auto files = std::distance(std::filesystem::directory_iterator(dir.path), {});
        EXPECT_EQ(files, c.ini.empty() ? 4 : 5) << c.what;  // no temporary file left
        std::filesystem::current_path(home);
    }
}

}  // namespace
