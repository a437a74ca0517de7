// The import program's run as a whole: its command line, the data file and
// the inputs, other writers, and every call and allocation that can fail.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <set>

#include <gtest/gtest.h>

#include "Entries.h"
#include "FaultSeam.h"
#include "Rows.h"
#include "records/DataFile.h"
#include "running/RunningMark.h"
#include "tool/Options.h"
#include "tool/Run.h"

using namespace std::string_literals;

namespace {

// The import or the export with these arguments, in the current folder: its
// exit code and what it printed, a line each, errors after "! ". meanwhile
// sees each line as it is printed.
std::pair<int, std::string> RunTool(const Lines& args, const std::function<void(const std::string&)>& meanwhile = {},
                                    unsigned waitMs = 100, const std::function<void()>& arm = {})
{
    ImportOptions options;
    std::string out;
    if (!ParseImportArgs(args, options, out))
        return {2, "! " + out};
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
    faults::Disarm();
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

const std::string kData = "[***KALENDAR***]\n05.03 1950 Grandpa\n";
const std::string kOther = "[***CALENDAR***]\r\n01.01 9999 Other\r\n";
const std::string kAfter = FormatDataFile(ListOf({{"05", "03", "1950", "Grandpa"}, {"24", "12", "1988", "Eva"}}), 0);
const std::string kAdded = "24.12 1988 Eva\na.vcf: 1 card read: 1 added, 0 already there, 0 skipped\n";
const std::string kRunning =
    "! Error: Tolvari is running with Tolvari.dat, and would write over what is imported. "
    "Close Tolvari and import again; nothing was imported.\n";

TEST(ImportRun, WritesTheDataFileOnlyWhenAllIsReadAndItIsStillTheFileRead)
{
    enum Meanwhile { Nothing, TolvariRuns, TolvariStarts, Rewritten, Locked };
    const struct {
        const char* what;
        Lines args;
        Meanwhile meanwhile;
        int code;
        std::string printed, tolvariDat, otherDat;  // the file, or the file a link leads to
    } cases[] = {
        {"no settings file: Tolvari.dat",
         {"a.vcf"},
         Nothing,
         0,
         kAdded + "1 added, 0 already there, 0 skipped\n",
         kAfter,
         kData},
        {"FILE= of the settings file; one input twice",
         {"a.vcf", "a.vcf", "--data", "other.dat"},
         Nothing,
         0,
         kAdded + "a.vcf: 1 card read: 0 added, 1 already there, 0 skipped\n1 added, 1 already there, 0 skipped\n",
         kData,
         kAfter},
        {"a link, written through",
         {"--data", "link.dat", "a.vcf"},
         Nothing,
         0,
         kAdded + "1 added, 0 already there, 0 skipped\n",
         kData,
         kAfter},
        {"an input missing",
         {"a.vcf", "missing.vcf"},
         Nothing,
         1,
         kAdded + "! Error: Can't open file missing.vcf. Nothing was imported.\n",
         kData,
         kData},
        {"no data file",
         {"--data", "missing.dat", "a.vcf"},
         Nothing,
         1,
         "! Error: Can't open file missing.dat. Nothing was imported.\n",
         kData,
         kData},
        {"a data file that is not one",
         {"--data", "a.vcf", "a.vcf"},
         Nothing,
         1,
         "! Error: a.vcf is not a Tolvari data file (line 1: \"BEGIN:VCARD\" is neither an entry nor a header). "
         "Nothing was imported.\n",
         kData,
         kData},
        {"a data file of CR line ends",
         {"--data", "cr.dat", "a.vcf"},
         Nothing,
         1,
         "! Error: cr.dat has line ends of CR alone (line 1: \"[***CALENDAR***]?19.03 0000 J?\"); Tolvari reads CR LF. "
         "Save it with "
         "Windows line ends first. Nothing was imported.\n",
         kData,
         kData},
        {"a file of CR line ends that is no data file",
         {"--data", "crx.dat", "a.vcf"},
         Nothing,
         1,
         "! Error: crx.dat is not a Tolvari data file (line 3: \"BEGIN:VCARD\" is neither an entry nor a header). "
         "Nothing was imported.\n",
         kData,
         kData},
        {"a folder, a pipe, a device",
         {"--data", "dir", "a.vcf"},
         Nothing,
         1,
         "! Error: dir is a folder, not a data file. Nothing was imported.\n",
         kData,
         kData},
        {"",
         {"--data", "fifo", "a.vcf"},
         Nothing,
         1,
         "! Error: fifo is a device or a pipe, not a data file. Nothing was imported.\n",
         kData,
         kData},
        {"",
         {"--data", "/dev/zero", "a.vcf"},
         Nothing,
         1,
         "! Error: /dev/zero is a device or a pipe, not a data file. Nothing was imported.\n",
         kData,
         kData},
        {"read-only",
         {"--data", "ro.dat", "a.vcf"},
         Nothing,
         1,
         kAdded + "! Error: Can't write file ro.dat: it is read-only. It was not changed; nothing was imported.\n",
         kData,
         kData},
        {"an input that is no vCard or calendar",
         {"a.vcf", "b.txt"},
         Nothing,
         1,
         kAdded + "! Error: b.txt is not a vCard (.vcf) or iCalendar (.ics) file: it has no BEGIN:VCARD or "
                  "BEGIN:VCALENDAR line. Nothing was imported.\n",
         kData,
         kData},
        {"a calendar without events",
         {"c.ics"},
         Nothing,
         1,
         "! Error: c.ics holds no calendar event. Nothing was imported.\n",
         kData,
         kData},
        {"Tolvari runs with the file", {"a.vcf"}, TolvariRuns, 1, kRunning, kData, kData},
        {"a dry run while it runs",
         {"--dry-run", "a.vcf"},
         TolvariRuns,
         0,
         "Note: Tolvari is running with Tolvari.dat; close it before you import.\n" + kAdded +
             "Dry run: Tolvari.dat was not changed.\n1 added, 0 already there, 0 skipped\n",
         kData,
         kData},
        {"Tolvari started while importing", {"a.vcf"}, TolvariStarts, 1, kAdded + kRunning, kData, kData},
        {"another program wrote the file while importing",
         {"a.vcf"},
         Rewritten,
         1,
         kAdded + "! Error: Tolvari.dat changed while importing; nothing was written. Import again.\n",
         kOther,
         kData},
        {"another import writes it longer than the wait",
         {"a.vcf"},
         Locked,
         1,
         "Waiting for another import into Tolvari.dat to finish...\n! Error: another import is still writing "
         "Tolvari.dat (waited 1 s). Nothing was imported; import again when it is done.\n",
         kData,
         kData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::filesystem::path home = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        for (const char* name : {"Tolvari.dat", "other.dat", "ro.dat"})
            WriteBytes(name, kData);
        WriteBytes("a.vcf", Card({"FN:Eva", "BDAY:19881224"})),
            WriteBytes("cr.dat", "[***CALENDAR***]\r19.03 0000 J\r");
        WriteBytes("b.txt", "BEGIN:VCARDS\n"), WriteBytes("crx.dat", "[***CALENDAR***]\r\rBEGIN:VCARD\r");
        WriteBytes("c.ics", "Calendar\rBEGIN:VCALENDAR\rBEGIN:VTODO\rEND:VTODO\rEND:VCALENDAR\r");
        ::chmod("ro.dat", 0444), ::mkdir("dir", 0700), ::mkfifo("fifo", 0600), ::symlink("other.dat", "link.dat");
        RunningMark tolvari;
        DataFileLock other;
        if (c.meanwhile == TolvariRuns)
            tolvari.Mark("Tolvari.dat");
        if (c.meanwhile == Locked)
            other.Lock("Tolvari.dat", 0);
        ::alarm(10);  // a pipe waited on would end the test here
        const auto [code, printed] = RunTool(c.args, [&](const std::string& line) {
            if (line == "24.12 1988 Eva" && c.meanwhile == TolvariStarts)
                tolvari.Mark("Tolvari.dat");
            if (line == "24.12 1988 Eva" && c.meanwhile == Rewritten)
                WriteBytes("Tolvari.dat", kOther);
        });
        ::alarm(0);
        EXPECT_EQ(std::tuple(code, printed, ReadBytes("Tolvari.dat"), ReadBytes("other.dat"), HiddenFiles(dir.path)),
                  std::tuple(c.code, c.printed, c.tolvariDat, c.otherDat, 0));
        std::filesystem::current_path(home);
    }
}

TEST(ImportRun, CommandLinesThatCannotBeRunSayWhy)
{
    const std::pair<Lines, const char*> cases[] = {
        {{"a.vcf", "--data"}, "--data needs the data file's name"},
        {{"--export", "x.ics", "--remind-days", "31"}, "--remind-days needs a number of days from 0 to 30"},
        {{"--remind-days", "7x", "--export", "x.ics"}, "--remind-days needs a number of days from 0 to 30"},
        {{"--export"}, "--export needs the name of the .ics file to write"},
        {{"--export", "Tolvari.dat"}, "--export needs the name of the .ics file to write"},
        {{"--export", "x.ics", "a.vcf"},
         "--export writes the data file's entries; it takes no input file and no --dry-run"},
        {{"--calendar", "a.vcf"}, "--holidays, --calendar and --remind-days go with --export"},
        {{"--dry-run"}, "no .vcf or .ics file given"},
        {{"-x", "a.vcf"}, "unknown option -x"},
    };
    for (const auto& [args, error] : cases)
        EXPECT_EQ(RunTool(args), std::pair(2, "! " + std::string(error)));
}

// The second of two imports into one file waits while the first holds it,
// from its read to its replace, and then adds to what the first wrote.
TEST(ImportRun, TwoImportsAtOnceTakeTurns)
{
    TempDir dir;
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    WriteBytes("Tolvari.dat", kData), WriteBytes("a.vcf", Card({"FN:Eva", "BDAY:19881224"}));
    WriteBytes("b.vcf", Card({"FN:Jan", "BDAY:19500101"}));
    std::promise<void> firstRead, secondWaits;
    auto first = std::async(std::launch::async, [&] {
        return RunTool({"a.vcf"}, [&](const std::string& line) {
            if (line == "24.12 1988 Eva")
                firstRead.set_value(), secondWaits.get_future().wait_for(std::chrono::seconds(10));
        });
    });
    firstRead.get_future().wait();
    const auto second = RunTool(
        {"b.vcf"}, [&](const std::string& line) { line.find("Waiting") == 0 ? secondWaits.set_value() : void(); },
        10000);
    EXPECT_EQ(first.get().first, 0);
    EXPECT_EQ(second.first, 0) << second.second;
    EXPECT_EQ(
        ReadBytes("Tolvari.dat"),
        FormatDataFile(
            ListOf({{"05", "03", "1950", "Grandpa"}, {"24", "12", "1988", "Eva"}, {"01", "01", "1950", "Jan"}}), 0));
    std::filesystem::current_path(home);
}

// The program itself: when its report cannot be printed (standard output a
// full disk, closed, or a pipe without a reader), the import is done all the
// same, and the exit code and a line on standard error say so.
TEST(ImportProgram, AReportThatCannotBePrintedIsToldByExitCode4)
{
    TempDir dir;
    WriteBytes(dir.File("a.vcf"), Card({"FN:Eva", "BDAY:19881224"}));
    for (const char* out : {"/dev/full", "closed", "pipe"}) {
        WriteBytes(dir.File("Tolvari.dat"), kData);
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        ::close(pipe[0]);
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(::open(dir.File("err").c_str(), O_WRONLY | O_CREAT, 0600), 2);
            const int fd = out == std::string("pipe") ? pipe[1] : ::open(out, O_WRONLY);
            fd >= 0 ? ::dup2(fd, 1) : ::close(1);
            ::_exit(::chdir(dir.path.c_str()) == 0 ? ::execl(TOLVARI_IMPORT_EXE, "tolvari-import", "a.vcf", nullptr)
                                                   : 9);
        }
        ::close(pipe[1]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_EQ(std::tuple(WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(dir.File("Tolvari.dat")),
                             ReadBytes(dir.File("err"))),
                  std::tuple(4, kAfter,
                             "Error: the report could not be printed to standard output (full or closed); the run "
                             "itself was done.\n"s))
            << out;
    }
}

using filesys::FaultCall;

// Runs run(arm, memory, interrupted) for n = 1, 2, ... until a run in which
// nothing failed; arm() makes the n-th call of a kind from then on fail, or
// the n-th allocation (memory), or interrupts it by a signal. Every kind.
template <class Run>
void ForEveryFailure(Run run)
{
    for (int kind = 0; kind <= static_cast<int>(FaultCall::Count); ++kind) {
        const bool memory = kind == static_cast<int>(FaultCall::Count);
        const bool retried = kind == int(FaultCall::Read) || kind == int(FaultCall::Write) ||
                             kind == int(FaultCall::Flush) || kind == int(FaultCall::Mark);
        for (int error : {0, EINTR}) {
            for (long n = 1; (error == 0 || retried) && !::testing::Test::HasFailure(); ++n) {
                SCOPED_TRACE("call " + std::to_string(n) + " of kind " + std::to_string(kind) + ", error " +
                             std::to_string(error));
                ::alarm(10);  // a run that hangs ends the test
                EXPECT_NO_THROW(run([&] { memory ? faults::ArmAllocation(n) : faults::Arm(FaultCall(kind), n, error); },
                                    memory, error != 0));
                ::alarm(0);
                if (!faults::Fired())
                    break;
            }
        }
    }
}

// Every failing call of the file layer and every failing allocation, in the
// import and in the export: the failure's own message and exit code 1, the
// file its old bytes; or the new ones, exit code 0 and no message (a call
// the signal interrupted is made again). No temporary file is left once the
// next run is done.
TEST(FailureRuns, ImportAndExportSayWhatFailedAndKeepTheOldFileOrWriteTheNew)
{
    TempDir dir;
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    WriteBytes("a.vcf", Card({"FN:Eva", "BDAY:19881224"})), WriteBytes("b.vcf", Card({"FN:Jan", "BDAY:19500101"}));
    const std::set<std::string> kImportErrors = {
        "! Error: Can't open file Tolvari.dat to keep other writers out while importing. Nothing was imported.\n",
        "! Error: Can't open file Tolvari.dat. Nothing was imported.\n",
        "! Error: Can't open file a.vcf. Nothing was imported.\n",
        "! Error: Can't read file a.vcf to its end. Nothing was imported.\n",
        "! Error: Can't write file Tolvari.dat. It was not changed; nothing was imported.\n",
        kRunning,  // a mark that cannot be asked about counts as one
    };
    const std::set<std::string> kMemoryErrors = {
        "! Error: Not enough memory to import these files. Nothing was imported.\n",
        "! Error: Not enough memory to read file Tolvari.dat. Nothing was imported.\n",
    };
    for (const bool exporting : {false, true}) {
        const Lines args = exporting ? Lines{"--export", "out.ics"} : Lines{"a.vcf"};
        const std::string file = exporting ? "out.ics" : "Tolvari.dat", old = exporting ? "old" : kData;
        ForEveryFailure([&](const auto& arm, bool memory, bool interrupted) {
            WriteBytes("Tolvari.dat", kData), WriteBytes("out.ics", "old");
            // What a save that was killed left, which the next one removes.
            WriteBytes("." + file + ".tmp-ABCDEF", "");
            const auto [code, printed] = RunTool(args, {}, 100, arm);
            const size_t error = printed.find("! ");
            const std::string message = error == std::string::npos ? "" : printed.substr(error);
            const std::string bytes = ReadBytes(file);
            if (code != 1) {
                // Memory that ran out after the file was written cuts the report short.
                EXPECT_EQ(std::pair(code, message),
                          code == 0 ? std::pair(0, std::string())
                                    : std::pair(4,
                                                "! Error: Not enough memory to print the whole report; the run "
                                                "itself was done.\n"s));
                EXPECT_EQ(exporting ? bytes.substr(bytes.size() - 15) : bytes,
                          exporting ? "END:VCALENDAR\r\n" : kAfter);
            } else {
                EXPECT_FALSE(interrupted) << printed;
                EXPECT_EQ(std::pair(code, bytes), std::pair(1, old)) << printed;
                // The export's: the file that failed, or the memory, and that nothing was written.
                EXPECT_TRUE(exporting ? message.find(memory ? "memory" : "file ") != std::string::npos &&
                                            (message.find("not changed") != std::string::npos ||
                                             message.find("othing was exported") != std::string::npos)
                                      : (memory ? kMemoryErrors : kImportErrors).count(message) == 1)
                    << message;
            }
            EXPECT_EQ(RunTool(exporting ? args : Lines{"a.vcf", "b.vcf"}).first, 0);
            EXPECT_EQ(HiddenFiles(dir.path), 0);
        });
    }
    std::filesystem::current_path(home);
}

}  // namespace
