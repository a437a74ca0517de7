// The data file: the reading rules on both ways of loading, the exact bytes
// written, the leftovers of killed saves (also in the root folder), what is
// not a plain file, two writers, a file beyond any string. A save failing at
// any call, where a kill would stop it, is walked in TodayCore_test.cpp. Any bytes are fuzzed
// (tests/fuzz/datafile_fuzz.cpp); every failing call and allocation is
// walked in TodayCore_test.cpp.
#include "records/DataFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Rows.h"
#include "records/FileSystem.h"
#include "records/TextLines.h"
#include "running/RunningMark.h"

using namespace std::string_literals;

// Each line read as a file, whose columns then show its lines, and appended
// to a list that has records, where each field becomes a slice.
TEST(DataFileReading, LineRules)
{
    // clang-format off
    const std::pair<std::string, Rows> cases[] = {  // the line and its record, if any
        {"05.03 1950 Wedding  day ", {{"05", "03", "1950", "Wedding  day "}}},
        {"", {}}, {"no dot", {}}, {"[05.03 1950 x", {}}, {"05.03", {}}, {"05.03 1950", {}},
        {"5.3 1950 x", {{"5", "3", "1950", "x"}}}, {" 05.03 1950 x", {{" 05", "03", "1950", "x"}}},
        {"05.03 195  x", {{"05", "03", "195", " x"}}}, {"a b.c d e.f", {{"a b", "c", "d", "e.f"}}},
        {".  ", {{"", "", "", ""}}}, {"05.03\t1950 x y", {{"05", "03\t1950", "x", "y"}}},
        {"05.03 1950 x\ry\x1A", {{"05", "03", "1950", "x\ry\x1A"}}},
        {"0\0005.03 1950 a\0b"s, {{"0\0005"s, "03", "1950", "a\0b"s}}},
        {"05. 3 1950 x", {{"05", "", "3", "1950 x"}}}, {"05.3  1950 x", {{"05", "3", "", "1950 x"}}},
    };
    // clang-format on
    const RecordList one = Parse("01.01 0000 A\r\n");
    for (const auto& [line, fields] : cases) {
        for (const char* end : {"\r\n", "\n", ""}) {
            EXPECT_EQ(RowsOf(Parse(line + end)), fields) << line;
            Rows appended = fields;
            appended.insert(appended.begin(), {"01", "01", "0000", "A"});
            EXPECT_EQ(RowsOf(Parse(line + end, one)), appended) << line;
        }
    }
    // Only a CR right before the LF belongs to the line end.
    EXPECT_EQ(RowsOf(Parse("[***CALENDAR***]\r\n01.01 0000 A\r\r\n\r\n")), (Rows{{"01", "01", "0000", "A\r"}}));
    // The lines of a text, each ended by "|", from a copy of just its bytes.
    const std::pair<std::string, std::string> splits[] = {
        {"", ""}, {"a", "a|"}, {"a\n", "a|"}, {"\n\r\n", "||"}, {"a\r\nb\r", "a|b\r|"}};
    for (const auto& [text, lines] : splits) {
        const std::vector<char> bytes(text.begin(), text.end());
        std::string seen;
        ForEachLine(std::string_view(bytes.data(), bytes.size()),
                    [&](std::string_view line, size_t) { seen.append(line) += '|'; });
        EXPECT_EQ(seen, lines) << text;
    }
}

TEST(DataFileWriting, ExactBytes)
{
    // clang-format off
    const std::pair<Rows, std::string> cases[] = {
        {{}, "[***CALENDAR***]\r\n"},
        {{{"01", "01", "0000", "A"}, {"05", "03", "1950", "W d"}, {"02", "01", "0000", "late"}},
         "[***CALENDAR***]\r\n01.01 0000 A\r\n\r\n[***CUSTOM***]\r\n05.03 1950 W d\r\n02.01 0000 late\r\n"},
        {{{"%s", "%n", "8888", "\x8E\0x"s}}, "[***CALENDAR***]\r\n\r\n[***CUSTOM***]\r\n%s.%n 8888 \x8E\0x\r\n"s},
    };
    // clang-format on
    for (const auto& [rows, bytes] : cases)
        EXPECT_EQ(FormatDataFile(ListOf(rows), 0), bytes);
}

// Saves Tolvari.dat into dir ("/"-ended) beside a leftover of a killed save
// and files that only look like one; what is left of them.
static std::string SaveAmongLeftovers(const std::string& dir)
{
    const std::string tmp = dir + ".Tolvari.dat.tmp-", other = dir + ".Other.dat.tmp-ABCDEF";
    WriteBytes(tmp + "KILLED", "old"), WriteBytes(tmp + "SEVENCH", "x"), WriteBytes(other, "x");
    ::mkfifo((tmp + "A_PIPE").c_str(), 0600), ::symlink(other.c_str(), (tmp + "A_LINK").c_str());
    const int running = ::open((tmp + "IN_USE").c_str(), O_CREAT | O_RDWR, 0600);  // a save not yet done
    ::flock(running, LOCK_EX);
    std::string left = filesys::WriteFileAtomically(dir + "Tolvari.dat", "new") ? "" : "not saved ";
    ::close(running);
    left += ReadBytes(dir + "Tolvari.dat") + ReadBytes(other);
    struct stat st;
    for (const char* name : {"KILLED", "SEVENCH", "A_PIPE", "A_LINK", "IN_USE"})
        left += ::lstat((tmp + name).c_str(), &st) == 0 ? std::string(" ") + name : "";
    return left;
}

TEST(CrashSave, NextSaveRemovesOnlyTheLeftoversOfKilledSaves)
{
    TempDir dir, root;
    const char kLeft[] = "newx SEVENCH A_PIPE A_LINK IN_USE";
    EXPECT_EQ(SaveAmongLeftovers(dir.path + "/"), kLeft);
    if (::geteuid() != 0)
        GTEST_SKIP() << "the save in the root folder needs a chroot, which needs root";
    // In the root folder: a child whose root is a fresh directory, its
    // working folder left outside.
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::chroot(root.path.c_str()) != 0 ? 2 : SaveAmongLeftovers("/") == kLeft ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "in the root folder";
}

// Only a regular file is read or replaced, the one at the end of its links;
// anything else is refused at once, never waited on (a pipe without a
// writer). A file no one may write is refused too, by root as well; one
// longer than any string is out of memory.
TEST(SaveTargets, ARegularFileIsReplacedThroughItsLinksAnythingElseIsRefusedAtOnce)
{
    using filesys::ReadStatus, filesys::WriteStatus;
    TempDir dir;
    const std::string d = dir.path + "/";
    WriteBytes(d + "file", "old"), WriteBytes(d + "ro", "old"), ::chmod((d + "ro").c_str(), 0444);
    ::mkfifo((d + "fifo").c_str(), 0600), ::mkdir((d + "dir").c_str(), 0700);
    ::symlink("file", (d + "link").c_str()), ::symlink("gone", (d + "dangling").c_str());
    const std::tuple<std::string, ReadStatus, WriteStatus, const char*> cases[] = {
        // the name; its read, its save; then the bytes under the name, if it is a file
        {d + "link", ReadStatus::Read, WriteStatus::Written, "new"},
        {d + "dangling", ReadStatus::CannotRead, WriteStatus::Written, "new"},
        {d + "ro", ReadStatus::Read, WriteStatus::ReadOnly, "old"},
        {d + "fifo", ReadStatus::CannotRead, WriteStatus::NotAFile, nullptr},
        {d + "dir", ReadStatus::CannotRead, WriteStatus::NotAFile, nullptr},
    };
    for (const auto& [name, read, write, bytes] : cases) {
        std::string out;
        EXPECT_EQ(filesys::ReadFileBelow(name, out, ~0ull), read) << name;
        EXPECT_EQ(filesys::ReplaceFileBytes(name, "new"), write) << name;
        EXPECT_EQ(bytes ? ReadBytes(name) : "", bytes ? bytes : "") << name;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(d + "link") && std::filesystem::is_symlink(d + "dangling"));
    EXPECT_EQ(ReadBytes(d + "file") + ReadBytes(d + "gone"), "newnew");
    // A file longer than any string (4 EB here, 1 GB on a 32-bit build) is
    // as much beyond reach as memory.
    const std::string huge = "/dev/shm/tolvari_test." + std::to_string(::getpid());
    WriteBytes(huge, "");
    std::string read;
    if (::truncate(huge.c_str(), (1LL << 62) + 1) == 0) {  // where /dev/shm is a tmpfs
        EXPECT_THROW(filesys::ReadWholeFile(huge, read), std::bad_alloc);
    }
    ::unlink(huge.c_str());
}

// Two writers: the mark of a running Tolvari and the writers' lock, found
// through every name of the file; a new file put in place is locked anew. A
// file that changed after it was read, in place or by another file put in
// its place, is not replaced.
TEST(TwoWriters, EveryNameFindsTheMarkAndTheLockAndAChangedFileStays)
{
    TempDir dir;
    const std::string path = dir.File("t.dat"), other = dir.File("other.dat");
    WriteBytes(path, "old"), WriteBytes(other, "other");
    ::link(path.c_str(), dir.File("hard.dat").c_str()), ::symlink("t.dat", dir.File("sym.dat").c_str());
    const std::string names[] = {path, dir.path + "/./t.dat", dir.File("hard.dat"), dir.File("sym.dat")};
    auto mark = std::make_unique<RunningMark>();
    mark->Mark(path);
    for (const std::string& name : names)
        EXPECT_TRUE(IsMarkedRunning(name)) << name;
    EXPECT_FALSE(IsMarkedRunning(other) || IsMarkedRunning(dir.File("none.dat")));
    mark.reset();
    EXPECT_FALSE(IsMarkedRunning(path));
    DataFileLock first, second;
    EXPECT_EQ(first.Lock(path, 0), DataFileLock::Result::Locked);
    for (const std::string& name : names)
        EXPECT_EQ(second.Lock(name, 20), DataFileLock::Result::Busy) << name;
    // Once the first has put a new file in place, the new one is locked.
    ASSERT_TRUE(filesys::WriteFileAtomically(path, "new"));
    EXPECT_EQ(second.Lock(dir.File("sym.dat"), 0), DataFileLock::Result::Locked);
    EXPECT_EQ(first.Lock(path, 0), DataFileLock::Result::Busy);
    EXPECT_EQ(first.Lock(dir.File("none.dat"), 0), DataFileLock::Result::Locked);  // nothing to keep from others
    for (int how = 0; how < 2; ++how) {
        filesys::FileSnapshot read;
        std::string out;
        ASSERT_EQ(filesys::ReadFileBelow(path, out, ~0ull, &read), filesys::ReadStatus::Read);
        how == 0 ? WriteBytes(path, "older") : (WriteBytes(other, "odd"), void(::rename(other.c_str(), path.c_str())));
        EXPECT_EQ(filesys::ReplaceFileBytes(path, "new", &read), filesys::WriteStatus::Changed);
        EXPECT_EQ(ReadBytes(path), how == 0 ? "older" : "odd");
        read = filesys::SnapshotOf(path);
        EXPECT_EQ(filesys::ReplaceFileBytes(path, "new", &read), filesys::WriteStatus::Written);
    }
}
