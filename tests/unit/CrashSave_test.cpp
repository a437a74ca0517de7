// A save killed at any moment leaves the data file whole: the old bytes or
// the new ones, never a mix and never nothing. Its temporary file is hidden,
// recognisable and removed by the next successful save.
#include "records/DataFile.h"

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "DataFile_TempDir.h"
#include "calendar/DayReport.h"
#include "records/FileSystem.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define TOLVARI_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLVARI_SANITIZED 1
#endif
#endif

constexpr int kTrials = 200;
// Under the sanitizers, which look for memory faults rather than torn files,
// a smaller list keeps the run short.
#ifdef TOLVARI_SANITIZED
constexpr int kRecords = 20000;
#else
constexpr int kRecords = 200000;
#endif

// A list of records whose names depend on the seed, so that two lists of
// about the same size differ in almost every byte.
RecordList MakeList(int records, unsigned seed)
{
    static const char* const kYears[] = {"0000", "9999", "8888", "1950", "1987", "2001"};
    std::mt19937 random(seed);
    RecordList list;
    for (int i = 0; i < records; ++i) {
        list.m_arrDay.Add(DayKey(static_cast<int>(random() % 31) + 1));
        list.m_arrMonth.Add(DayKey(static_cast<int>(random() % 12) + 1));
        list.m_arrYear.Add(kYears[random() % 6]);
        list.m_arrName.Add("Jm\xE9no " + std::to_string(random()) + " \x8E" "ofie " + std::to_string(i));
    }
    list.m_nCount = records;
    return list;
}

std::vector<std::string> EntriesOf(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A leftover a user can tell apart: hidden, named after the data file.
bool IsRecognisableTemporary(const std::string& entry, const std::string& dataFile)
{
    const std::string prefix = "." + dataFile + ".tmp-";
    return entry.size() == prefix.size() + 6 && entry.compare(0, prefix.size(), prefix) == 0;
}

void SleepMicroseconds(long us)
{
    timespec t{us / 1000000, (us % 1000000) * 1000};
    while (::nanosleep(&t, &t) != 0) {
    }
}

TEST(CrashSave, KilledSaveLeavesTheOldOrTheNewFileWhole)
{
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    const RecordList oldList = MakeList(kRecords - 1000, 1);
    const RecordList newList = MakeList(kRecords, 2);
    const std::string oldBytes = FormatDataFile(oldList, 0);
    const std::string newBytes = FormatDataFile(newList, 0);
    ASSERT_NE(oldBytes, newBytes);

    // The kills are spread over the time a save in a child takes, measured
    // the same way, from fork to its end.
    std::vector<long> durations;
    for (int i = 0; i < 3; ++i) {
        WriteBytes(path, oldBytes);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(SaveDataFile(path, newList, 0) ? 0 : 1);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        durations.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(
                                                  std::chrono::steady_clock::now() - start)
                                                  .count()));
    }
    // The longest of three, so that a busy machine still lets some saves
    // finish and both outcomes are seen.
    const long spreadUs = *std::max_element(durations.begin(), durations.end()) * 11 / 10 + 1;
    WriteBytes(path, oldBytes);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    int oldSeen = 0, newSeen = 0, leftBehind = 0;
    size_t leftovers = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const long delayUs = static_cast<long>(random() % static_cast<unsigned long>(spreadUs));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveDataFile(path, newList, 0);
            ::_exit(0);
        }
        SleepMicroseconds(delayUs);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        std::string now;
        ASSERT_TRUE(filesys::ReadWholeFile(path, now)) << "trial " << trial;
        const bool isOld = now == oldBytes;
        const bool isNew = now == newBytes;
        ASSERT_TRUE(isOld || isNew) << "trial " << trial << ", kill after " << delayUs
                                    << " us (seed " << seed << "): " << now.size() << " bytes";
        oldSeen += isOld;
        if (isNew) {
            ++newSeen;
            WriteBytes(path, oldBytes);
        }
        const std::vector<std::string> entries = EntriesOf(dir.Path());
        for (const std::string& entry : entries) {
            ASSERT_TRUE(entry == "Tolvari.dat" || IsRecognisableTemporary(entry, "Tolvari.dat"))
                << entry;
        }
        // A kill between creating the temporary file and the rename leaves it.
        leftBehind += entries.size() - 1 > leftovers;
        leftovers = entries.size() - 1;
    }
    // Both outcomes show that the kills landed inside the save.
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0);
    std::printf("[          ] %d trials, kills within %ld us: %d old, %d new; %d left a "
                "temporary file\n",
                kTrials, spreadUs, oldSeen, newSeen, leftBehind);

    ASSERT_TRUE(SaveDataFile(path, newList, 0));
    EXPECT_EQ(EntriesOf(dir.Path()), std::vector<std::string>{"Tolvari.dat"})
        << "the next save removes every leftover";
    EXPECT_EQ(ReadBytes(path), newBytes);
}

TEST(CrashSave, LeftoversOfKilledSavesAreIgnoredAndRemoved)
{
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    WriteBytes(path, "01.01 0000 kept\r\n");
    // What a save killed before its rename leaves, and look-alikes that are
    // not ours and must stay.
    WriteBytes(dir.File(".Tolvari.dat.tmp-AbC123"), "02.02 9999 half a fi");
    WriteBytes(dir.File(".Tolvari.dat.tmp-zz0000"), "");
    const std::vector<std::string> foreign = {
        ".Tolvari.dat.tmp-AbC12",   // one character short
        ".Tolvari.dat.tmp-AbC1234", // one too many
        "Tolvari.dat.tmp-AbC123",   // not hidden
        ".Other.dat.tmp-AbC123",    // another data file's
    };
    for (const std::string& name : foreign)
        WriteBytes(dir.File(name), "not ours");

    RecordList list;
    ASSERT_TRUE(LoadDataFile(path, list));
    ASSERT_EQ(list.m_nCount, 1) << "a leftover is never read";
    EXPECT_EQ(list.m_arrName[0], "kept");

    ASSERT_TRUE(SaveDataFile(path, list, 0));
    std::vector<std::string> expected = foreign;
    expected.push_back("Tolvari.dat");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(EntriesOf(dir.Path()), expected);
    for (const std::string& name : foreign)
        EXPECT_EQ(ReadBytes(dir.File(name)), "not ours") << name;
}

TEST(CrashSave, TemporaryOfARunningSaveIsLeftAlone)
{
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    // A save in progress holds its temporary file locked.
    const std::string running = dir.File(".Tolvari.dat.tmp-Run123");
    WriteBytes(running, "01.01 0000 in progress");
    const int fd = ::open(running.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another process, as flock locks are per open file, not per process.
        ::close(fd);
        RecordList list;
        ::_exit(SaveDataFile(path, list, 0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadBytes(running), "01.01 0000 in progress");
    ::close(fd);

    RecordList list;
    ASSERT_TRUE(SaveDataFile(path, list, 0));
    EXPECT_EQ(EntriesOf(dir.Path()), std::vector<std::string>{"Tolvari.dat"})
        << "once the lock is gone it is a leftover";
}

TEST(CrashSave, LongDataFileNameStillSaves)
{
    TempDir dir;
    // 250 bytes: a temporary name of the whole name plus its decoration would
    // pass the file system's 255.
    const std::string name(250, 'n');
    RecordList list;
    list.m_arrDay.Add("01");
    list.m_arrMonth.Add("01");
    list.m_arrYear.Add("0000");
    list.m_arrName.Add("x");
    list.m_nCount = 1;
    ASSERT_TRUE(SaveDataFile(dir.File(name), list, 0));
    EXPECT_EQ(ReadBytes(dir.File(name)), FormatDataFile(list, 0));
    EXPECT_EQ(EntriesOf(dir.Path()), std::vector<std::string>{name});
}

}  // namespace
