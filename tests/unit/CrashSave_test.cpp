// A save killed at any moment leaves the data file whole, old or new; what
// it leaves behind is never read and goes with the next save.
#include "records/DataFile.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "Rows.h"

static RecordList Names(int records, const char* name)
{
    return ListOf(Rows(static_cast<size_t>(records), {"01", "02", "1950", name}));
}

// The kills are spread over twice the time a save takes here. Where they
// land depends on the machine, so only the file is checked, never how often
// each outcome came.
TEST(CrashSave, KilledSaveLeavesTheOldOrTheNewFileWhole)
{
    TempDir dir;
    const std::string path = dir.File("Tolvari.dat");
    const RecordList newList = Names(100000, "Jm\xE9no nov\xE9");
    const std::string oldBytes = FormatDataFile(Names(99000, "old"), 0), newBytes = FormatDataFile(newList, 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SaveDataFile(path, newList, 0));
    const auto spread = 2 * (std::chrono::steady_clock::now() - start) + std::chrono::milliseconds(1);
    std::mt19937 random(1);
    for (int trial = 0; trial < 100; ++trial) {
        WriteBytes(path, oldBytes);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(SaveDataFile(path, newList, 0) ? 0 : 1);
        std::this_thread::sleep_for(spread * (random() % 1000) / 1000);
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "trial " << trial << ": " << now.size() << " bytes";
    }
    // Leftovers of killed saves go; look-alikes that are not ours stay.
    WriteBytes(dir.File(".Tolvari.dat.tmp-AbC123"), "01.01 9999 half");
    for (const char* other : {".Tolvari.dat.tmp-AbC12", "Tolvari.dat.tmp-AbC123", ".Other.dat.tmp-AbC123"})
        WriteBytes(dir.File(other), "not ours");
    RecordList loaded;
    ASSERT_TRUE(LoadDataFile(path, loaded));
    ASSERT_TRUE(SaveDataFile(path, loaded, 0));
    EXPECT_EQ(dir.Entries(), (std::set<std::string>{".Other.dat.tmp-AbC123", ".Tolvari.dat.tmp-AbC12", "Tolvari.dat",
                                                   "Tolvari.dat.tmp-AbC123"}));
}
