#include "export/Export.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <map>

#include <gtest/gtest.h>

#include "Rows.h"
#include "calendar/MovableHolidays.h"
#include "import/Merge.h"
#include "import/ReadInput.h"
#include "tool/Options.h"
#include "tool/Run.h"

namespace {

using Lines = std::vector<std::string>;

std::string Export(const RecordList& list, const ExportChoice& choice, Lines* printed = nullptr)
{
    std::string text;
    ExportCounts counts;
    const auto print = [&](const std::string& line, bool) {
        if (printed)
            printed->push_back(line);
    };
    FormatICalendar(list, choice, "20260101T000000Z", print, counts,
                    [&](std::string_view piece) { return text.append(piece), true; });
    return text;
}

// The unfolded properties of the first event, its alarm's description as
// ALARM, and the calendar's name as CALNAME.
std::map<std::string, std::string> FirstEvent(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::string unfolded = text, inside;
    for (size_t at; (at = unfolded.find("\r\n ")) != std::string::npos;)
        unfolded.erase(at, 3);
    std::istringstream lines(unfolded);
    for (std::string line; std::getline(lines, line) && line != "END:VEVENT\r";) {
        const std::string name = line.substr(0, line.find(':')), value = line.substr(name.size() + 1);
        const bool alarm = inside == "VALARM" && name == "DESCRIPTION";
        inside = name == "BEGIN" ? value.substr(0, value.size() - 1) : inside;
        values[alarm ? "ALARM" : name == "X-WR-CALNAME" ? "CALNAME" : name] = value.substr(0, value.size() - 1);
    }
    return values;
}

TEST(ExportEvents, EachKindAsTheWindowShowsIt)
{
    const struct {
        Lines record;
        bool holidays, calendar;
        int remind, language;
        std::map<std::string, std::string> expected;  // "" for a property that must be missing
    } cases[] = {
        {{"29", "02", "1988", "Cousin"},
         false,
         false,
         7,
         0,
         {{"RRULE", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"},
          {"DTSTART;VALUE=DATE", "19880229"},
          {"DESCRIPTION", "Since 1988"},
          {"CATEGORIES", "Birthdays and anniversaries"},
          {"ALARM", "Cousin: birthday or anniversary in 7 days (the last day of February)"},
          {"CALNAME", "Tolvari: birthdays and anniversaries"},
          {"X-TOLVARI-NAME", ""}}},
        {{"29", "02", "8888", "Kmotr"},
         true,
         false,
         1,
         0,
         {{"RRULE", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"},
          {"DTSTART;VALUE=DATE", "20240229"},
          {"DESCRIPTION", ""},
          {"ALARM", "Kmotr: birthday or anniversary tomorrow (the last day of February)"},
          {"CALNAME", "Tolvari: birthdays and anniversaries with holidays"}}},
        {{"29", "02", "0000", "Horym\xEDr"},
         false,
         true,
         -1,
         0,
         {{"RRULE", "FREQ=YEARLY"},
          {"CATEGORIES", "Calendar entries"},
          {"DESCRIPTION", ""},
          {"ALARM", ""},
          {"CALNAME", "Tolvari: birthdays and anniversaries with calendar entries"}}},
        {{"29", "02", "9999", "Leap day"},
         true,
         true,
         0,
         0,
         {{"RRULE", "FREQ=YEARLY"}, {"CATEGORIES", "Holidays"}, {"ALARM", "Leap day today (29 February)"}}},
        {{"07", "12", "1950",
          "D\xEC"
          "de\xE8"
          "ek"},
         true,
         true,
         3,
         1,
         {{"DESCRIPTION", "Od roku 1950"},
          {"CATEGORIES", "Narozeniny a v\xC3\xBDro\xC4\x8D\xC3\xAD"},
          {"ALARM",
           "D\xC4\x9B"
           "de\xC4\x8D"
           "ek: narozeniny nebo v\xC3\xBDro\xC4\x8D\xC3\xAD za 3 dny (7. prosince)"},
          {"CALNAME",
           "Tolvari: narozeniny a v\xC3\xBDro\xC4\x8D\xC3\xAD se sv\xC3\xA1tky a kalend\xC3\xA1\xC5\x99n"
           "\xC3\xADmi z\xC3\xA1znamy"}}},
        // Blanks, tabs and control characters tidied in the title, kept
        // exactly for the import; a byte without a character too.
        {{"01", "02", "1970", " Two  blanks\t"},
         false,
         false,
         -1,
         0,
         {{"SUMMARY", "Two blanks"}, {"X-TOLVARI-NAME", "%20Two%20%20blanks%09"}}},
        {{"05", "02", "1980", "a\x81;b\x01"},
         false,
         false,
         -1,
         0,
         {{"SUMMARY", "a?\\;b"}, {"X-TOLVARI-NAME", "a%81%3Bb%01"}}},
    };
    for (const auto& c : cases) {
        ExportChoice choice;
        choice.holidays = c.holidays, choice.calendar = c.calendar;
        choice.remindDays = c.remind, choice.uiLanguage = c.language;
        const auto event = FirstEvent(Export(ListOf({c.record}), choice));
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(event.count(name) ? event.at(name) : "", value) << c.record[3] << " " << name;
    }
}

// What the import reads back of an export is the records exactly: every
// name, the moving holidays passed over once each with their reason.
TEST(ExportEvents, ReadBackExactlyWithoutTheMovingHolidays)
{
    const Rows rows = {{"01", "02", "1970", " Two  blanks\t"},
                       {"02", "02", "1971", "a\x81\x01\x7F, b\\"},
                       {"29", "02", "1988",
                        "Ond\xF8"
                        "ej"},
                       {"06", "12", "0000", "Mikul\xE1\xB9"},
                       {"24", "12", "9999",
                        "\x8A"
                        "t\xEC"
                        "dr\xFD den"},
                       {"07", "12", "8888", "Kmotr"}};
    RecordList list = ListOf(rows);
    list.m_arrDay.Add("08"), list.m_arrMonth.Add("12"), list.m_arrYear.Add("1950"), list.m_arrName.Add("  \t");
    ++list.m_nCount;
    ExportChoice choice;
    choice.holidays = choice.calendar = true;
    choice.country = FindHolidayCountry("CZ");
    choice.firstYear = 2026;
    Lines printed;
    const std::string text = Export(list, choice, &printed);
    EXPECT_EQ(printed, Lines{"skipped 08.12 1950   \t: a name of blanks only"});
    for (const char* line : {"UID:CZ-2026-easter-2@tolvari\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20260403",
                             "UID:CZ-2036-easter+1@tolvari\r\nDTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:20360414"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    RecordList back;
    ImportMerge merge(back);
    printed.clear();
    merge.Add(ReadEntries(text), "out.ics", [&](const std::string& line, bool) { printed.push_back(line); });
    EXPECT_EQ(RowsOf(back), rows);
    const ImportMerge::Counts done = merge.Done();
    EXPECT_EQ((std::vector<int>{done.added, done.already, done.skipped}), (std::vector<int>{6, 0, 2}));
    for (const std::string name : {"Velk\xC3\xBD p\xC3\xA1tek", "Velikono\xC4\x8Dn\xC3\xAD pond\xC4\x9Bl\xC3\xAD"})
        EXPECT_EQ(std::count_if(printed.begin(), printed.end(),
                                [&](const std::string& line) {
                                    return line.find("skipped \"" + name + "\" in out.ics:") == 0 &&
                                           line.find(": moves with Easter: HOLIDAYS=CZ") != std::string::npos;
                                }),
                  1)
            << name;
}

// Written as it is made: pieces of some 64 KB, and none after a failed one.
TEST(ExportEvents, WrittenInPiecesThatStopAtAFailure)
{
    RecordList list;
    for (int i = 0; i < 5000; ++i)
        list.m_arrDay.Add("01"), list.m_arrMonth.Add("01"), list.m_arrYear.Add("1950"), list.m_arrName.Add("Name");
    list.m_nCount = 5000;
    for (size_t failing : {0, 2}) {  // 0: none fails
        std::vector<size_t> pieces;
        ExportCounts counts;
        const bool written = FormatICalendar(
            list, ExportChoice(), "20260101T000000Z", [](const std::string&, bool) {}, counts,
            [&](std::string_view piece) { return pieces.push_back(piece.size()), pieces.size() != failing; });
        EXPECT_EQ(written, failing == 0);
        EXPECT_EQ(pieces.size(), failing ? failing : 22);
        EXPECT_LT(*std::max_element(pieces.begin(), pieces.end()), 66000u);
    }
}

TEST(ExportRun, EachFailureToldWithNothingWritten)
{
    const std::string kData = "24.12 9999 Christmas Eve\r\n05.03 1950 Grandpa\r\n", kOld = "old calendar";
    const struct {
        const char* what;
        Lines args;
        int code;
        std::string message;
    } cases[] = {
        {"the data file under its own name",
         {"--data", "cal.ics", "--export", "cal.ics"},
         2,
         "Error: cal.ics is the data file cal.ics; write the calendar to another file. Nothing was exported."},
        {"the data file through a hard link",
         {"--export", "link.ics"},
         2,
         "Error: link.ics is the data file Tolvari.dat"},
        {"through a symbolic link", {"--data", "../d/./Tolvari.dat", "--export", "sym.ics"}, 2, "Error: sym.ics is"},
        {"a data file of 2 GB",
         {"--data", "huge.dat", "--export", "out.ics"},
         1,
         "Error: File huge.dat is too large; a data file must be smaller than 2 GB. Nothing was exported."},
        {"no data file", {"--data", "none.dat", "--export", "out.ics"}, 1, "Error: Can't open file none.dat."},
        {"no folder for the output",
         {"--export", "none/out.ics"},
         1,
         "Error: Can't make a file in the folder of none/out.ics. It was not changed; nothing was exported."},
        {"a folder in the way", {"--export", "folder.ics"}, 1, "Error: Can't replace file folder.ics (is it a folder"},
        {"a full disk",
         {"--export", "out.ics", "--holidays", "--remind-days", "1"},
         1,
         "Error: Can't write file out.ics to its end (is the disk full?). It was not changed; nothing was exported."},
        {"nothing to export",
         {"--export", "out.ics", "--data", "holidays.dat"},
         1,
         "Error: nothing to export from holidays.dat: 0 exported, 0 skipped, 1 holidays left out (--holidays). "
         "out.ics was not written."},
        {"done",
         {"--export", "out.ics", "--holidays"},
         0,
         "24 exported to out.ics (22 of them holidays that move with "},
    };
    const std::filesystem::path home = std::filesystem::current_path();
    for (const auto& c : cases) {
        TempDir dir;
        std::filesystem::create_directory(dir.File("d"));
        std::filesystem::current_path(dir.File("d"));
        for (const char* name : {"Tolvari.dat", "cal.ics"})
            WriteBytes(name, kData);
        WriteBytes("holidays.dat", "24.12 9999 Christmas Eve\r\n");
        WriteBytes("Tolvari.ini", "HOLIDAYS=CZ\r\n");
        WriteBytes("out.ics", kOld);
        std::filesystem::create_hard_link("Tolvari.dat", "link.ics");
        std::filesystem::create_symlink("Tolvari.dat", "sym.ics");
        std::filesystem::create_directories("folder.ics/inside");
        WriteBytes("huge.dat", "");
        std::filesystem::resize_file("huge.dat", 1ull << 31);
        ImportOptions options;
        std::string error;
        ASSERT_TRUE(ParseImportArgs(c.args, options, error)) << c.what;
        Lines printed;
        // The disk is full for files beyond 4 KB; the signal would end the test.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit before, full = {4096, 0};
        ::getrlimit(RLIMIT_FSIZE, &before);
        full.rlim_max = before.rlim_max;
        if (c.what == std::string("a full disk"))
            ::setrlimit(RLIMIT_FSIZE, &full);
        const int code = RunExport(options, [&](const std::string& line, bool) { printed.push_back(line); });
        ::setrlimit(RLIMIT_FSIZE, &before);
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_EQ(printed.back().substr(0, c.message.size()), c.message) << c.what;
        EXPECT_EQ(ReadBytes("Tolvari.dat") + ReadBytes("cal.ics"), kData + kData) << c.what;
        EXPECT_EQ(ReadBytes("out.ics") == kOld, c.code != 0) << c.what;
        const auto files = std::distance(std::filesystem::directory_iterator("."), {});
        EXPECT_EQ(files, 9) << c.what;  // no temporary file left
        std::filesystem::current_path(home);
    }
}

}  // namespace
