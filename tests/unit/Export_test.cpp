#include "export/Export.h"

#include <sys/resource.h>

#include <csignal>
#include <map>

#include <gtest/gtest.h>

#include "Rows.h"
#include "tool/Options.h"
#include "tool/Run.h"

namespace {

using Lines = std::vector<std::string>;

// The first event of the export of one record, unfolded: its alarm's
// description as ALARM, the calendar's name as CALNAME.
std::map<std::string, std::string> FirstEvent(const Lines& record, const ExportChoice& choice)
{
    std::string text;
    ExportCounts counts;
    FormatICalendar(
        ListOf({record}), choice, "20260101T000000Z", [](const std::string&, bool) {}, counts,
        [&](std::string_view piece) { return text.append(piece), true; });
    for (size_t at; (at = text.find("\r\n ")) != std::string::npos;)
        text.erase(at, 3);
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string inside;
    for (std::string line; std::getline(lines, line) && line != "END:VEVENT\r";) {
        const std::string name = line.substr(0, line.find(':')),
                          value = line.substr(name.size() + 1, line.size() - name.size() - 2);
        const bool alarm = inside == "VALARM" && name == "DESCRIPTION";
        inside = name == "BEGIN" ? value : inside;
        values[alarm ? "ALARM" : name == "X-WR-CALNAME" ? "CALNAME" : name] = value;
    }
    return values;
}

TEST(ExportEvents, EachKindAsTheWindowShowsIt)
{
    // clang-format off
    const struct {
        Lines record;
        bool holidays, calendar;
        int remind, language;
        std::map<std::string, std::string> expected;  // "" for a property that must be missing
    } cases[] = {
        {{"29", "02", "1988", "Cousin"}, false, false, 7, 0,
         {{"RRULE", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"}, {"DTSTART;VALUE=DATE", "19880229"},
          {"DESCRIPTION", "Since 1988"}, {"CATEGORIES", "Birthdays and anniversaries"},
          {"ALARM", "Cousin: birthday or anniversary in 7 days (the last day of February)"},
          {"CALNAME", "Tolvari: birthdays and anniversaries"}, {"X-TOLVARI-NAME", ""}}},
        {{"29", "02", "8888", "Kmotr"}, true, false, 1, 0,
         {{"RRULE", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1"}, {"DTSTART;VALUE=DATE", "20240229"}, {"DESCRIPTION", ""},
          {"ALARM", "Kmotr: birthday or anniversary tomorrow (the last day of February)"},
          {"CALNAME", "Tolvari: birthdays and anniversaries with holidays"}}},
        {{"29", "02", "0000", "Horym\xEDr"}, false, true, 0, 0,
         {{"RRULE", "FREQ=YEARLY"}, {"CATEGORIES", "Calendar entries"}, {"DESCRIPTION", ""},
          {"ALARM", "Horym\xC3\xADr today (29 February)"},
          {"CALNAME", "Tolvari: birthdays and anniversaries with calendar entries"}}},
        {{"07", "12", "1950", "D\xEC" "de\xE8" "ek"}, true, true, 3, 1,
         {{"DESCRIPTION", "Od roku 1950"}, {"CATEGORIES", "Narozeniny a v\xC3\xBDro\xC4\x8D\xC3\xAD"},
          {"ALARM", "D\xC4\x9B" "de\xC4\x8D" "ek: narozeniny nebo v\xC3\xBDro\xC4\x8D\xC3\xAD za 3 dny (7. prosince)"},
          {"CALNAME", "Tolvari: narozeniny a v\xC3\xBDro\xC4\x8D\xC3\xAD se sv\xC3\xA1tky a kalend\xC3\xA1\xC5\x99n"
                      "\xC3\xADmi z\xC3\xA1znamy"}}},
        // Tidied in the title, exact for the import; a byte without a character.
        {{"05", "02", "1980", " a\x81;b\x01"}, false, false, -1, 0,
         {{"SUMMARY", "a?\\;b"}, {"X-TOLVARI-NAME", "%20a%81%3Bb%01"}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        ExportChoice choice;
        choice.holidays = c.holidays, choice.calendar = c.calendar;
        choice.remindDays = c.remind, choice.uiLanguage = c.language;
        const auto event = FirstEvent(c.record, choice);
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(event.count(name) ? event.at(name) : "", value) << c.record[3] << " " << name;
    }
}

// Written as it is made: pieces of some 64 KB, and none after a failed one.
TEST(ExportEvents, WrittenInPiecesThatStopAtAFailure)
{
    const RecordList list = ListOf(Rows(5000, {"01", "01", "1950", "Name"}));
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
    // clang-format off
    const struct { const char* what; Lines args; int code; std::string message; } cases[] = {
        {"the data file through a symbolic link", {"--data", "../d/./Tolvari.dat", "--export", "sym.ics"}, 2,
         "Error: sym.ics is the data file ../d/./Tolvari.dat; write the calendar to another file. Nothing was exported."},
        {"a data file of 2 GB", {"--data", "huge.dat", "--export", "out.ics"}, 1,
         "Error: File huge.dat is too large; a data file must be smaller than 2 GB. Nothing was exported."},
        {"no folder for the output", {"--export", "none/out.ics"}, 1,
         "Error: Can't make a file in the folder of none/out.ics. It was not changed; nothing was exported."},
        {"a folder in the way", {"--export", "folder.ics"}, 1, "Error: Can't replace file folder.ics (is it a folder"},
        {"a full disk", {"--export", "out.ics", "--holidays", "--remind-days", "1"}, 1,
         "Error: Can't write file out.ics to its end (is the disk full?). It was not changed; nothing was exported."},
        {"done", {"--export", "out.ics", "--holidays"}, 0, "24 exported to out.ics (22 of them holidays that move with "},
    };
    // clang-format on
    const std::filesystem::path home = std::filesystem::current_path();
    std::signal(SIGXFSZ, SIG_IGN);  // a full disk is a file size limit, whose signal would end the test
    for (const auto& c : cases) {
        TempDir dir;
        std::filesystem::create_directory(dir.File("d"));
        std::filesystem::current_path(dir.File("d"));
        WriteBytes("Tolvari.dat", kData);
        WriteBytes("Tolvari.ini", "HOLIDAYS=CZ\r\n");
        WriteBytes("out.ics", kOld);
        std::filesystem::create_symlink("Tolvari.dat", "sym.ics");
        std::filesystem::create_directories("folder.ics/inside");
        WriteBytes("huge.dat", "");
        std::filesystem::resize_file("huge.dat", 1ull << 31);
        ImportOptions options;
        std::string error;
        ASSERT_TRUE(ParseImportArgs(c.args, options, error)) << c.what;
        Lines printed;
        rlimit before, full;
        ::getrlimit(RLIMIT_FSIZE, &before);
        full = {4096, before.rlim_max};
        if (c.what == std::string("a full disk"))
            ::setrlimit(RLIMIT_FSIZE, &full);
        const int code = RunExport(options, [&](const std::string& line, bool) { printed.push_back(line); });
        ::setrlimit(RLIMIT_FSIZE, &before);
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_EQ(printed.back().substr(0, c.message.size()), c.message) << c.what;
        EXPECT_EQ(ReadBytes("Tolvari.dat"), kData) << c.what;
        EXPECT_EQ(ReadBytes("out.ics") == kOld, c.code != 0) << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 6) << c.what;  // no temporary file left
        std::filesystem::current_path(home);
    }
}

}  // namespace
