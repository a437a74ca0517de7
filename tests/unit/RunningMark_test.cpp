// The mark of a running Tolvari and the writers' lock, found through every
// name of the file.
#include "running/RunningMark.h"

#include <unistd.h>

#include <future>

#include <gtest/gtest.h>

#include "Rows.h"
#include "records/FileSystem.h"

TEST(DataFileMark, EveryNameOfTheFileFindsTheMarkAndTheLock)
{
    TempDir dir;
    const std::string path = dir.File("t.dat"), other = dir.File("other.dat");
    WriteBytes(path, "old"), WriteBytes(other, "other");
    ::link(path.c_str(), dir.File("hard.dat").c_str()), ::symlink("t.dat", dir.File("sym.dat").c_str());
    const std::string names[] = {path, dir.path + "/./t.dat", dir.File("hard.dat"), dir.File("sym.dat")};
    {
        RunningMark mark;
        mark.Mark(path);
        for (const std::string& name : names)
            EXPECT_TRUE(IsMarkedRunning(name)) << name;
        EXPECT_FALSE(IsMarkedRunning(other) || IsMarkedRunning(dir.File("none.dat")));
    }
    EXPECT_FALSE(IsMarkedRunning(path));
    DataFileLock first, second;
    EXPECT_EQ(first.Lock(path, 0), DataFileLock::Result::Locked);
    for (const std::string& name : names)
        EXPECT_EQ(second.Lock(name, 20), DataFileLock::Result::Busy) << name;
    EXPECT_EQ(second.Lock(other, 0), DataFileLock::Result::Locked);
    // A writer that waits for one that puts a new file in place locks that new file.
    auto waiting = std::async(std::launch::async, [&] { return second.Lock(dir.File("sym.dat"), 10000); });
    ::usleep(50000);
    ASSERT_TRUE(filesys::WriteFileAtomically(path, "new"));
    first.Unlock();
    EXPECT_EQ(waiting.get(), DataFileLock::Result::Locked);
    EXPECT_EQ(first.Lock(path, 0), DataFileLock::Result::Busy);
    EXPECT_EQ(first.Lock(dir.File("none.dat"), 0), DataFileLock::Result::Locked);  // nothing to keep from others
}
