// The import program's run as a whole: its command line, the data file and
// the inputs, other writers, and every call and allocation that can fail.
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <set>

#include <gtest/gtest.h>

#include "Entries.h"
#include "Failures.h"
#include "Rows.h"
#include "records/DataFile.h"
#include "running/RunningMark.h"
#include "tool/Options.h"
#include "tool/Run.h"

using namespace std::string_literals;

namespace {

// The import or the export with these arguments, in the current folder: its
// exit code and what it printed, a line each, errors after "! ". meanwhile
// sees each line as it is printed; arm is called just before the run.
std::pair<int, std::string> RunTool(const Lines& args, const std::function<void(const std::string&)>& meanwhile = {},
                                    unsigned waitMs = 100, const std::function<void()>& arm = {})
{
    ImportOptions options;
    std::string out;
    if (!ParseImportArgs(args, options, out))
        return {2, "! " + out + "\n"};
    options.waitMs = waitMs;
    options.localOffset = [](long long) { return 60; };
    const ImportPrint print = [&](const std::string& line, bool error) {
        out += (error ? "! " : "") + line + "\n";
        if (meanwhile)
            meanwhile(line);
    };
    if (arm)
        arm();
    const int code = options.exportFile.empty() ? RunImport(options, print) : RunExport(options, print);
    faults::Arm(filesys::FaultCall::Count, 0);
    return {code, out};
}

// Hidden files: what a save that failed or was killed may leave behind.
int HiddenFiles(const std::string& dir)
{
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        n += e.path().filename().string()[0] == '.';
    return n;
}

std::string Error(const std::string& text)
{
    return "! Error: " + text + " Nothing was imported.\n";
}

const std::string kData = "[***KALENDAR***]\n05.03 1950 Grandpa\n", kOther = "[***CALENDAR***]\r\n01.01 9999 X\r\n";
const Rows kRows = {{"05", "03", "1950", "Grandpa"}, {"24", "12", "1988", "Eva"}, {"01", "01", "1950", "Jan"}};
const std::string kAfter = FormatDataFile(ListOf({kRows[0], kRows[1]}), 0), kBoth = FormatDataFile(ListOf(kRows), 0);
const std::string kAdded = "24.12 1988 Eva\na.vcf: 1 card read: 1 added, 0 already there, 0 skipped\n";
const std::string kDone = kAdded + "1 added, 0 already there, 0 skipped\n";
const std::string kRunning =
    "! Error: Tolvari is running with Tolvari.dat, and would write over what is imported. "
    "Close Tolvari and import again; nothing was imported.\n";

TEST(ImportRun, WritesTheDataFileOnlyWhenAllIsReadAndItIsStillTheFileRead)
{
    // What happens once the data file is read (at the first entry added).
    enum Meanwhile { Nothing, TolvariRuns, TolvariStarts, Rewritten, Locked, AnotherImport };
    const struct {
        Lines args;
        Meanwhile meanwhile;
        int code;
        std::string printed, tolvariDat, otherDat;  // other.dat, where link.dat leads
    } cases[] = {
        // clang-format off
        {{"a.vcf"}, Nothing, 0, kDone, kAfter, kData},
        {{"a.vcf", "a.vcf", "--data", "other.dat"}, Nothing, 0,
         kAdded + "a.vcf: 1 card read: 0 added, 1 already there, 0 skipped\n1 added, 1 already there, 0 skipped\n",
         kData, kAfter},
        {{"--data", "link.dat", "a.vcf"}, Nothing, 0, kDone, kData, kAfter},
        {{"a.vcf", "missing.vcf"}, Nothing, 1, kAdded + Error("Can't open file missing.vcf."), kData, kData},
        {{"--data", "missing.dat", "a.vcf"}, Nothing, 1, Error("Can't open file missing.dat."), kData, kData},
        {{"--data", "a.vcf", "a.vcf"}, Nothing, 1,
         Error("a.vcf is not a Tolvari data file (line 1: \"BEGIN:VCARD\" is neither an entry nor a header)."),
         kData, kData},
        {{"--data", "cr.dat", "a.vcf"}, Nothing, 1,
         Error("cr.dat has line ends of CR alone (line 1: \"[***CALENDAR***]?19.03 0000 J?\"); Tolvari reads CR LF. "
               "Save it with Windows line ends first."), kData, kData},
        {{"--data", "crx.dat", "a.vcf"}, Nothing, 1,
         Error("crx.dat is not a Tolvari data file (line 3: \"BEGIN:VCARD\" is neither an entry nor a header)."),
         kData, kData},
        {{"--data", "dir", "a.vcf"}, Nothing, 1, Error("dir is a folder, not a data file."), kData, kData},
        {{"--data", "fifo", "a.vcf"}, Nothing, 1, Error("fifo is a device or a pipe, not a data file."), kData, kData},
        {{"--data", "ro.dat", "a.vcf"}, Nothing, 1,
         kAdded + "! Error: Can't write file ro.dat: it is read-only. It was not changed; nothing was imported.\n",
         kData, kData},
        {{"a.vcf", "b.txt"}, Nothing, 1,
         kAdded + Error("b.txt is not a vCard (.vcf) or iCalendar (.ics) file: it has no BEGIN:VCARD or "
                        "BEGIN:VCALENDAR line."), kData, kData},
        {{"c.ics"}, Nothing, 1, Error("c.ics holds no calendar event."), kData, kData},
        {{"a.vcf"}, TolvariRuns, 1, kRunning, kData, kData},
        {{"--dry-run", "a.vcf"}, TolvariRuns, 0,
         "Note: Tolvari is running with Tolvari.dat; close it before you import.\n" + kAdded +
             "Dry run: Tolvari.dat was not changed.\n1 added, 0 already there, 0 skipped\n", kData, kData},
        {{"a.vcf"}, TolvariStarts, 1, kAdded + kRunning, kData, kData},
        {{"a.vcf"}, Rewritten, 1,
         kAdded + "! Error: Tolvari.dat changed while importing; nothing was written. Import again.\n", kOther, kData},
        {{"a.vcf"}, Locked, 1,
         "Waiting for another import into Tolvari.dat to finish...\n! Error: another import is still writing "
         "Tolvari.dat (waited 1 s). Nothing was imported; import again when it is done.\n", kData, kData},
        // The other waits while this one holds the file, then adds to what it wrote.
        {{"a.vcf"}, AnotherImport, 0, kDone, kBoth, kData},
        // Command lines that cannot be run.
        {{"a.vcf", "--data"}, Nothing, 2, "! --data needs the data file's name\n", kData, kData},
        {{"--export", "x.ics", "--remind-days", "31"}, Nothing, 2, "! --remind-days needs a number of days from 0 to 30\n", kData, kData},
        {{"--remind-days", "7x", "--export", "x.ics"}, Nothing, 2, "! --remind-days needs a number of days from 0 to 30\n", kData, kData},
        {{"--export"}, Nothing, 2, "! --export needs the name of the .ics file to write\n", kData, kData},
        {{"--export", "Tolvari.dat"}, Nothing, 2, "! --export needs the name of the .ics file to write\n", kData, kData},
        {{"--export", "x.ics", "a.vcf"}, Nothing, 2, "! --export writes the data file's entries; it takes no input file, calendar or --dry-run\n", kData, kData},
        {{"--calendar", "a.vcf"}, Nothing, 2, "! --holidays, --calendar and --remind-days go with --export\n", kData, kData},
        {{"--dry-run"}, Nothing, 2, "! no .vcf or .ics file or --add-calendar given\n", kData, kData},
        {{"-x", "a.vcf"}, Nothing, 2, "! unknown option -x\n", kData, kData},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back() + " " + std::to_string(c.meanwhile));
        TempDir dir;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        for (const char* name : {"Tolvari.dat", "other.dat", "ro.dat"})
            WriteBytes(name, kData);
        WriteBytes("a.vcf", Card({"FN:Eva", "BDAY:19881224"})), WriteBytes("b.vcf", Card({"FN:Jan", "BDAY:19500101"}));
        WriteBytes("cr.dat", "[***CALENDAR***]\r19.03 0000 J\r"),
            WriteBytes("crx.dat", "[***CALENDAR***]\r\rBEGIN:VCARD\r");
        WriteBytes("b.txt", "BEGIN:VCARDS\n");
        WriteBytes("c.ics", "Calendar\rBEGIN:VCALENDAR\rBEGIN:VTODO\rEND:VTODO\rEND:VCALENDAR\r");
        ::chmod("ro.dat", 0444), ::mkdir("dir", 0700), ::mkfifo("fifo", 0600), ::symlink("other.dat", "link.dat");
        RunningMark tolvari;
        DataFileLock other;
        if (c.meanwhile == TolvariRuns)
            tolvari.Mark("Tolvari.dat");
        if (c.meanwhile == Locked)
            other.Lock("Tolvari.dat", 0);
        std::future<std::pair<int, std::string>> another;
        ::alarm(10);  // a pipe waited on would end the test here
        const auto [code, printed] = RunTool(c.args, [&](const std::string& line) {
            if (line != "24.12 1988 Eva")
                return;
            if (c.meanwhile == TolvariStarts)
                tolvari.Mark("Tolvari.dat");
            if (c.meanwhile == Rewritten)
                WriteBytes("Tolvari.dat", kOther);
            if (c.meanwhile == AnotherImport) {
                std::promise<void> waiting;
                another = std::async(std::launch::async, [&] {
                    return RunTool(
                        {"b.vcf"}, [&](const std::string& l) { l[0] == 'W' ? waiting.set_value() : void(); }, 5000);
                });
                waiting.get_future().wait_for(std::chrono::seconds(5));
            }
        });
        EXPECT_EQ(another.valid() ? another.get().first : 0, 0);
        ::alarm(0);
        EXPECT_EQ(std::tuple(code, printed, ReadBytes("Tolvari.dat"), ReadBytes("other.dat"), HiddenFiles(dir.path)),
                  std::tuple(c.code, c.printed, c.tolvariDat, c.otherDat, 0));
        std::filesystem::current_path(home);
    }
}

using filesys::FaultCall;

// Every failing call of the file layer and every failing allocation, in the
// import and in the export, for n = 1, 2, ... until a run in which nothing
// failed: the failure's own message and exit code 1, the file its old
// bytes; or no message, exit code 0 and the new bytes (also when a signal
// interrupted a call, which is made again). No temporary file is left once
// the next run is done.
TEST(FailureRuns, ImportAndExportSayWhatFailedAndKeepTheOldFileOrWriteTheNew)
{
    TempDir dir;
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    WriteBytes("a.vcf", Card({"FN:Eva", "BDAY:19881224"})), WriteBytes("b.vcf", Card({"FN:Jan", "BDAY:19500101"}));
    // clang-format off
    // A name longer than a short string holds: its copies allocate too.
    const std::string kOut = "birthdays-and-name-days.ics";
    const std::set<std::string> kErrors = {
        Error("Can't open file Tolvari.dat to keep other writers out while importing."),
        Error("Can't open file Tolvari.dat."), Error("Can't open file a.vcf."), Error("Can't read file a.vcf to its end."),
        "! Error: Can't write file Tolvari.dat. It was not changed; nothing was imported.\n",
        kRunning,  // a mark that cannot be asked about counts as one
        Error("Not enough memory to import these files."), Error("Not enough memory to read file Tolvari.dat.")};
    // clang-format on
    for (const bool exporting : {false, true}) {
        SCOPED_TRACE(exporting ? "the export" : "the import");
        ForEveryFailure([&](FaultCall kind, int error, auto arm) {
            const Lines args = exporting ? Lines{"--export", kOut} : Lines{"a.vcf"};
            const std::string file = exporting ? kOut : "Tolvari.dat", old = exporting ? "old" : kData;
            WriteBytes("Tolvari.dat", kData), WriteBytes(kOut, "old");
            WriteBytes("." + file + ".tmp-ABCDEF", "");  // left by a save that was killed
            ::alarm(10);                                 // a run that hangs ends the test
            const auto [code, printed] = RunTool(args, {}, 100, arm);
            ::alarm(0);
            const std::string message = printed.substr(std::min(printed.find("! "), printed.size()));
            const std::string bytes = ReadBytes(file);
            if (code != 1) {
                // Memory that ran out after the file was written cuts the report short.
                EXPECT_EQ(std::pair(code, message),
                          std::pair(code, code ? "! Error: Not enough memory to print the whole report; the run "
                                                 "itself was done.\n"s
                                               : ""s));
                EXPECT_EQ(exporting ? bytes.substr(bytes.size() - 15) : bytes,
                          exporting ? "END:VCALENDAR\r\n" : kAfter);
            } else {
                // A call a signal interrupted is made again. The export's message says
                // what failed (the memory or a file) and that nothing was written.
                EXPECT_TRUE(error == 0 && bytes == old &&
                            (kind == FaultCall::Count) == (message.find("memory") != std::string::npos) &&
                            (exporting ? message.find("not changed") != std::string::npos ||
                                             message.find("othing was exported") != std::string::npos
                                       : kErrors.count(message) == 1))
                    << printed;
            }
            EXPECT_EQ(RunTool(exporting ? args : Lines{"a.vcf", "b.vcf"}).first, 0);
            EXPECT_EQ(HiddenFiles(dir.path), 0);
        });
    }
    std::filesystem::current_path(home);
}

}  // namespace
