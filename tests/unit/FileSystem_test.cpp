// The POSIX file functions where a user meets their corners: a data file in
// the root folder, the leftovers of killed saves among look-alikes, a read a
// signal interrupts, a file longer than any string.
#include "records/FileSystem.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Rows.h"

namespace {

// Saves Tolvari.dat into dir ("/"-ended) beside a leftover of a killed save
// and files that only look like one; the names left of them.
std::string SaveAmongLeftovers(const std::string& dir)
{
    const std::string tmp = dir + ".Tolvari.dat.tmp-", other = dir + ".Other.dat.tmp-ABCDEF";
    WriteBytes(tmp + "KILLED", "old"), WriteBytes(tmp + "SEVENCH", "x"), WriteBytes(other, "x");
    ::mkfifo((tmp + "A_PIPE").c_str(), 0600);
    ::symlink(other.c_str(), (tmp + "A_LINK").c_str());
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

const char kLeft[] = "newx SEVENCH A_PIPE A_LINK IN_USE";

}  // namespace

TEST(SafeSave, RemovesOnlyTheLeftoversOfKilledSaves)
{
    TempDir dir, root;
    EXPECT_EQ(SaveAmongLeftovers(dir.path + "/"), kLeft);
    // The data file in the root folder: the same in a child whose root is a
    // fresh directory (its working folder stays outside).
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::chroot(root.path.c_str()) != 0 ? 2 : SaveAmongLeftovers("/") == kLeft ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "changing the root folder needs root";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A pipe that a writer fills in two parts, each beyond the first guess of
// the size, with a signal (not restarting calls) between them.
TEST(SafeRead, ReadInterruptedBySignalGoesOn)
{
    TempDir dir;
    const std::string pipe = dir.File("pipe"), part(100000, 'x');
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct sigaction ignore = {}, before;
    ignore.sa_handler = [](int) {};
    ::sigaction(SIGUSR1, &ignore, &before);
    const pid_t writer = ::fork();
    if (writer == 0) {
        const int fd = ::open(pipe.c_str(), O_WRONLY);
        const bool ok = ::write(fd, part.data(), part.size()) == 100000 && ::usleep(100000) == 0 &&
                        ::kill(::getppid(), SIGUSR1) == 0 && ::usleep(100000) == 0 &&
                        ::write(fd, part.data(), part.size()) == 100000;
        ::_exit(ok ? 0 : 1);
    }
    std::string read;
    EXPECT_EQ(filesys::ReadFileBelow(pipe, read, ~0ull), filesys::ReadStatus::Read);
    EXPECT_EQ(read, part + part);
    ::waitpid(writer, nullptr, 0);
    ::sigaction(SIGUSR1, &before, nullptr);
}

// Longer than any string can be (here 4 EB; 1 GB on a 32-bit build): as
// much out of reach as memory that is not there.
TEST(SafeRead, FileBeyondAnyStringIsOutOfMemory)
{
    if (::access("/dev/shm", W_OK) != 0)
        GTEST_SKIP() << "no tmpfs for a sparse file of 4 EB";
    const std::string path = "/dev/shm/tolvari_test." + std::to_string(::getpid());
    WriteBytes(path, "");
    std::string out;
    if (::truncate(path.c_str(), (1LL << 62) + 1) == 0) {
        EXPECT_THROW(filesys::ReadWholeFile(path, out), std::bad_alloc);
    }
    ::unlink(path.c_str());
}
